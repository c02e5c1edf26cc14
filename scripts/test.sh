#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: once in a normal build (g++) and once in
# the clang build with the address and undefined-behaviour sanitizers, which also holds the fuzz
# targets (scripts/build-sanitized.sh); there the fuzz tests replay their seed corpus through
# libFuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
scripts/build.sh build -DTALLION_WERROR=ON -DTALLION_DEBUG_INFO=none
(cd build && ctest --output-on-failure -j 2 --timeout 180)
scripts/build-sanitized.sh
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j 2 --timeout 300)
