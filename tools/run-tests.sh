#!/usr/bin/env bash
# Installs what is missing, then builds and tests everything twice: the whole
# project, and the Qt-free core under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
jobs=$(nproc)

cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan
