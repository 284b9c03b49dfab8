#!/usr/bin/env bash
# The main job: sets up the machine, builds the console reader, the
# marketplace simulator and the sibling stand-in, starts the simulator on
# loopback and runs one manual check over a program folder with two groups
# and three vendor accounts (the simulator refuses the password of one). It
# prints the log and the rows stored per account. The folder is kept, so a
# second run imports only what is new ("No new item found." otherwise).
#
#   scripts/demo.sh           the check, natively
#   scripts/demo.sh --fresh   the same with a new program folder
#   scripts/demo.sh window    the same check in QVReader.exe under Wine: with a
#                             display ($DISPLAY) it opens there for the user to
#                             press Manual Run, until Exit in its tray menu;
#                             without one it runs on a private Xvfb display,
#                             Manual Run is clicked for the user, and the log
#                             page's lines, the rows and screenshots follow
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${QV_BUILD_DIR:-$root/build}
demo=$build/demo
mode=${1:-check}

"$root/scripts/setup.sh"

release=$build/release
market=$root/tools/marketsim/demo.conf
accounts=$root/tools/corvane/sample-accounts.txt
sim=$demo/market

# Builds the native tools, starts the simulator and makes a program folder
# ($1) with the sample accounts, their databases and the simulator's hosts.
prepare_market() {
    local app=$1
    cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF
    cmake --build "$release" -j "$(nproc)" --target qvreader-cli corvane marketsim
    bin=$release/bin
    mkdir -p "$app" "$sim"
    sh "$bin/simctl" stop "$sim/run" 2>/dev/null || true
    port=$(sh "$bin/simctl" start "$market" "$sim/run")
    trap 'sh "$bin/simctl" stop "$sim/run" >/dev/null 2>&1 || true' EXIT
    echo "marketplace simulator on https://market.localhost:$port"
    cp "$sim/run/client.ini" "$app/QVNetwork.ini"
    if [ ! -f "$app/account.ini" ]; then
        "$bin/corvane" write-accounts "$accounts" "$app"
        "$bin/corvane" make-databases "$accounts" "$app"
    fi
}

print_rows() {
    local app=$1
    echo "== rows stored per account"
    for entry in Shop.mdb:alice Shop.mdb:bob Outlet.mdb:carol; do
        file=${entry%%:*}
        nick=${entry#*:}
        rows=$(sqlite3 -readonly "$app/data/$file" "SELECT COUNT(*) FROM \"$nick\";")
        printf '%-6s %-11s %s\n' "$nick" "$file" "$rows"
    done
}

winpath() { echo "Z:$1" | tr / '\\'; }

run_window() {
    local winerun="$root/tools/wine/winerun"
    cmake -S "$root" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DQV_BUILD_TESTS=ON
    cmake --build "$build/win64" -j "$(nproc)" --target QVReader Corvane trustca qvwindow-driver

    local app=$demo/window
    rm -rf "$app"
    prepare_market "$app"
    cp "$build/win64/bin/QVReader.exe" "$build/win64/bin/Corvane.exe" "$app/"
    # WinINet trusts the system's root store alone: the simulator's CA goes there.
    "$winerun" "$demo/wine" exec "$build/win64/bin/trustca.exe" "$(winpath "$sim/run/ca/ca.der")"

    if [ -n "${DISPLAY:-}" ] && [ -z "${QV_DEMO_HEADLESS:-}" ]; then
        echo "starting QVReader on $DISPLAY: press Manual Run, watch the log page;"
        echo "leave it with Exit in its tray menu"
        QV_DISPLAY=$DISPLAY "$winerun" "$demo/wine" exec "$app/QVReader.exe"
        "$winerun" "$demo/wine" stop
        print_rows "$app"
        return
    fi

    echo "== a manual check in QVReader's window on a private display (Manual Run clicked)"
    local out=$demo/window-driver.out
    local status=0
    "$winerun" "$demo/wine" exec "$build/win64/bin/qvwindow-driver.exe" \
        "$(winpath "$app/QVReader.exe")" "$(winpath "$demo")" >"$out" || status=$?
    "$winerun" "$demo/wine" stop
    tr -d '\r' <"$out" | grep '^error' >&2 || true
    echo "== the log page's list box, newest line first"
    tr -d '\r' <"$out" | sed -n 's/^log\t//p'
    print_rows "$app"
    echo "screenshots: $demo/account-page.png $demo/log-page-after-check.png"
    return "$status"
}

if [ "$mode" = window ]; then
    run_window
    exit $?
fi
case "$mode" in
    check) ;;
    --fresh) rm -rf "$demo/app" ;;
    *)
        echo "usage: scripts/demo.sh [--fresh | window]" >&2
        exit 2
        ;;
esac

app=$demo/app
prepare_market "$app"

echo "== manual check over $app"
status=0
"$bin/qvreader-cli" now --folder "$app" || status=$?
print_rows "$app"
exit "$status"
