#!/usr/bin/env bash
# Sets up the machine, builds the reader for Windows and runs it under Wine
# in a demo folder beside the sibling stand-in and a sample account file.
# With a display ($DISPLAY) the reader opens there and runs until you choose
# Exit from its tray menu; without one it runs on a private Xvfb display
# and a screenshot of its main window is saved.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${QV_BUILD_DIR:-$root/build}
demo=$build/demo
winerun="$root/tools/wine/winerun"

"$root/scripts/setup.sh"

cmake -S "$root" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
cmake --build "$build/win64" -j "$(nproc)" --target QVReader Corvane wineshot

rm -rf "$demo/app"
mkdir -p "$demo/app"
cp "$build/win64/bin/QVReader.exe" "$build/win64/bin/Corvane.exe" "$demo/app/"
"$winerun" "$demo/wine" exec "$demo/app/Corvane.exe" write-accounts \
    "$root/tools/corvane/sample-accounts.txt" "$demo/app"
echo "account file: $demo/app/account.ini"

if [ -n "${DISPLAY:-}" ] && [ -z "${QV_DEMO_HEADLESS:-}" ]; then
    echo "starting QVReader on $DISPLAY (leave it with Exit in its tray menu)"
    QV_DISPLAY=$DISPLAY "$winerun" "$demo/wine" exec "$demo/app/QVReader.exe"
    "$winerun" "$demo/wine" stop
    exit 0
fi

echo "starting QVReader under Wine on a private display"
"$winerun" "$demo/wine" exec "$demo/app/QVReader.exe" &
reader=$!
shot=$demo/main-window.png
rm -f "$shot"
"$winerun" "$demo/wine" exec "$build/win64/bin/wineshot.exe" "Corvane Transactions Reader" \
    "Z:$(echo "$shot" | tr / '\\')" 60
"$winerun" "$demo/wine" stop
wait "$reader" 2>/dev/null || true
echo "QVReader ran; screenshot of its main window: $shot"
echo "settings it wrote on first start:"
tr -d '\r' <"$demo/app/QVSetting.ini"
