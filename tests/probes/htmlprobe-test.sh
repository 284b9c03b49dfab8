#!/bin/sh
# htmlprobe-test.sh DIR PROBE [PATH-PREFIX]
# Runs htmlprobe (a command, maybe with a runner before it, in PROBE) on the
# page in DIR: the inner HTML must match the expected bytes exactly, a
# missing id must give status 1 and an unreadable file status 2.
# PATH-PREFIX goes before file names (Z: under Wine).
set -u
dir=$1 probe=$2 prefix=${3:-}
out=$(mktemp) && trap 'rm -f "$out"' EXIT
failed=0

$probe "$prefix$dir/probe-page.html" target >"$out"
status=$?
if [ $status -ne 0 ] || ! cmp -s "$out" "$dir/probe-page.expected"; then
    echo "FAIL: inner HTML of #target (status $status):" && od -c "$out" | head -20
    failed=1
fi
$probe "$prefix$dir/probe-page.html" empty >"$out"
status=$?
if [ $status -ne 0 ] || [ -s "$out" ]; then
    echo "FAIL: an empty element must print nothing (status $status)"
    failed=1
fi
$probe "$prefix$dir/probe-page.html" no-such-id >"$out"
status=$?
if [ $status -ne 1 ] || [ -s "$out" ]; then
    echo "FAIL: a missing id must give status 1 and no output (status $status)"
    failed=1
fi
$probe "$prefix$dir/no-such-file.html" target >"$out" 2>/dev/null
status=$?
if [ $status -ne 2 ]; then
    echo "FAIL: an unreadable file must give status 2 (status $status)"
    failed=1
fi
[ $failed -eq 0 ] && echo "htmlprobe: all cases passed"
exit $failed
