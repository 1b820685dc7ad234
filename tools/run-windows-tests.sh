#!/usr/bin/env bash
# Cross-builds the Qt-free core and its tests for 64-bit Windows with
# mingw-w64 and runs every core test under wine (preset "windows"). Wine gets
# a prefix of its own under out/, so the user's ~/.wine is never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
jobs=$(nproc)

export WINEDEBUG=-all
export WINEPREFIX="$PWD/out/wine"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
mkdir -p out
[[ -d "$WINEPREFIX/drive_c" ]] || "$wine" wineboot --init < /dev/null > out/wine-setup.log 2>&1
# One wine server (and wine's own background programs) for the whole run,
# started here with no output: started by a test, they would hold that test's
# output pipe open until the server quits, and ctest, or ninja during test
# discovery, would wait for them. A server still running in this private
# prefix is one of an earlier run.
"$wineserver" -k > /dev/null 2>&1 || true
"$wineserver" -w
"$wineserver" -p < /dev/null > /dev/null 2>&1
trap '"$wineserver" -k > /dev/null 2>&1 || true' EXIT
"$wine" cmd /c exit < /dev/null > /dev/null 2>&1

cmake --preset windows
cmake --build --preset windows -j "$jobs"
ctest --preset windows
