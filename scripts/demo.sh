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
#   scripts/demo.sh window    QVReader.exe under Wine instead: with a display
#                             ($DISPLAY) it opens there until Exit in its tray
#                             menu; without one it runs on a private Xvfb
#                             display and a screenshot of its main window is
#                             saved
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${QV_BUILD_DIR:-$root/build}
demo=$build/demo
mode=${1:-check}

"$root/scripts/setup.sh"

run_window() {
    local winerun="$root/tools/wine/winerun"
    cmake -S "$root" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
    cmake --build "$build/win64" -j "$(nproc)" --target QVReader Corvane wineshot

    rm -rf "$demo/window"
    mkdir -p "$demo/window"
    cp "$build/win64/bin/QVReader.exe" "$build/win64/bin/Corvane.exe" "$demo/window/"
    "$winerun" "$demo/wine" exec "$demo/window/Corvane.exe" write-accounts \
        "$root/tools/corvane/sample-accounts.txt" "$demo/window"
    echo "account file: $demo/window/account.ini"

    if [ -n "${DISPLAY:-}" ] && [ -z "${QV_DEMO_HEADLESS:-}" ]; then
        echo "starting QVReader on $DISPLAY (leave it with Exit in its tray menu)"
        QV_DISPLAY=$DISPLAY "$winerun" "$demo/wine" exec "$demo/window/QVReader.exe"
        "$winerun" "$demo/wine" stop
        return
    fi

    echo "starting QVReader under Wine on a private display"
    "$winerun" "$demo/wine" exec "$demo/window/QVReader.exe" &
    local reader=$!
    local shot=$demo/main-window.png
    rm -f "$shot"
    "$winerun" "$demo/wine" exec "$build/win64/bin/wineshot.exe" "Corvane Transactions Reader" \
        "Z:$(echo "$shot" | tr / '\\')" 60
    "$winerun" "$demo/wine" stop
    wait "$reader" 2>/dev/null || true
    echo "QVReader ran; screenshot of its main window: $shot"
    echo "settings it wrote on first start:"
    tr -d '\r' <"$demo/window/QVSetting.ini"
}

if [ "$mode" = window ]; then
    run_window
    exit 0
fi
case "$mode" in
    check) ;;
    --fresh) rm -rf "$demo/app" ;;
    *)
        echo "usage: scripts/demo.sh [--fresh | window]" >&2
        exit 2
        ;;
esac

release=$build/release
cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF
cmake --build "$release" -j "$(nproc)" --target qvreader-cli corvane marketsim
bin=$release/bin

app=$demo/app
sim=$demo/market
mkdir -p "$app" "$sim"

market=$root/tools/marketsim/demo.conf
accounts=$root/tools/corvane/sample-accounts.txt

sh "$bin/simctl" stop "$sim/run" 2>/dev/null || true
port=$(sh "$bin/simctl" start "$market" "$sim/run")
trap 'sh "$bin/simctl" stop "$sim/run" >/dev/null 2>&1 || true' EXIT
echo "marketplace simulator on https://market.localhost:$port"

cp "$sim/run/client.ini" "$app/QVNetwork.ini"
if [ ! -f "$app/account.ini" ]; then
    "$bin/corvane" write-accounts "$accounts" "$app"
    "$bin/corvane" make-databases "$accounts" "$app"
fi

echo "== manual check over $app"
status=0
"$bin/qvreader-cli" now --folder "$app" || status=$?

echo "== rows stored per account"
for entry in Shop.mdb:alice Shop.mdb:bob Outlet.mdb:carol; do
    file=${entry%%:*}
    nick=${entry#*:}
    rows=$(sqlite3 -readonly "$app/data/$file" "SELECT COUNT(*) FROM \"$nick\";")
    printf '%-6s %-11s %s\n' "$nick" "$file" "$rows"
done
exit "$status"
