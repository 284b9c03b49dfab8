#!/bin/sh
# htmlprobe-address-test.sh SIMCTL PROBE STATE-DIR
# Runs htmlprobe on addresses of a marketplace simulator started for the
# test: the sign-in form's inner HTML holds its three fields, a report asked
# for while signed out ends on that form too (the redirect is followed), and a
# missing id gives status 1.
set -u
simctl=$1 probe=$2 state=$3
rm -rf "$state" && mkdir -p "$state"
printf '[account probe]\npassword = p\ntransactions = 3\n' >"$state/sim.conf"
port=$(sh "$simctl" start "$state/sim.conf" "$state/run") || exit 1
trap 'sh "$simctl" stop "$state/run" >/dev/null 2>&1' EXIT
ca=$state/run/ca/ca.pem
market=https://market.localhost:$port
failed=0

check_form() {
    out=$("$probe" --ca "$ca" "$1" loginForm)
    status=$?
    for field in 'id="nick"' 'id="pass"' 'id="login"'; do
        case $out in
            *"$field"*) ;;
            *) echo "FAIL: $1: no $field in the form (status $status)"; failed=1 ;;
        esac
    done
}
check_form "$market/login.htm"
check_form "https://probe.vendors.localhost:$port/account/showTransactions.htm?type=VENDOR_SEARCH&form=dates&pageNum=1&pageSize=1000"

"$probe" --ca "$ca" "$market/login.htm" no-such-id >"$state/out"
status=$?
if [ $status -ne 1 ] || [ -s "$state/out" ]; then
    echo "FAIL: a missing id must give status 1 and no output (status $status)"
    failed=1
fi
[ $failed -eq 0 ] && echo "htmlprobe on addresses: all cases passed"
exit $failed
