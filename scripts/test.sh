#!/usr/bin/env bash
# Sets up the machine and runs every test:
#   native  - the portable core, its ports and the tools, with sanitizers;
#   wine    - the real Windows programs (x86_64 build) under Wine on Xvfb;
#   i686    - the 32-bit Windows build must compile and link.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${QV_BUILD_DIR:-$root/build}
jobs=$(nproc)

"$root/scripts/setup.sh"

echo "== native build and tests"
cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON
cmake --build "$build/native" -j "$jobs"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs"

echo "== Windows x86_64 build and Wine tests"
cmake -S "$root" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
cmake --build "$build/win64" -j "$jobs"
# One reader at a time: they share the single-instance mutex of the prefix.
ctest --test-dir "$build/win64" --output-on-failure
echo "screenshots: $build/win64/artifacts"

echo "== Windows i686 build"
cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
cmake --build "$build/win32" -j "$jobs"

echo "== all tests passed"
