#!/bin/sh
# reportprobe-test.sh DIR PROBE [PATH-PREFIX]
# Runs reportprobe (a command, maybe with a runner before it, in PROBE) on the
# saved report page (a simulator page for six rows): its output must match the expected
# lines exactly; a page without the report's elements gives "items -1 pages
# -1" and no row; an unreadable file gives status 2.
# PATH-PREFIX goes before file names (Z: under Wine).
set -u
dir=$1 probe=$2 prefix=${3:-}
out=$(mktemp) && trap 'rm -f "$out"' EXIT
failed=0

$probe "$prefix$dir/report-page.html" >"$out" 2>/dev/null
status=$?
if [ $status -ne 0 ] || ! cmp -s "$out" "$dir/report-page.expected"; then
    echo "FAIL: rows of the saved report page (status $status):"
    diff "$dir/report-page.expected" "$out" | head -20
    failed=1
fi
$probe "$prefix$dir/probe-page.html" >"$out" 2>/dev/null
status=$?
if [ $status -ne 0 ] || [ "$(cat "$out")" != "items -1 pages -1" ]; then
    echo "FAIL: a page that is no report (status $status):" && head -3 "$out"
    failed=1
fi
$probe "$prefix$dir/no-such-file.html" >"$out" 2>/dev/null
status=$?
if [ $status -ne 2 ]; then
    echo "FAIL: an unreadable file must give status 2 (status $status)"
    failed=1
fi
[ $failed -eq 0 ] && echo "reportprobe: all cases passed"
exit $failed
