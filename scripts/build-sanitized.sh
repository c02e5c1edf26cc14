#!/usr/bin/env bash
# Configures and builds the clang build into build-asan/: every file checked by the address and
# undefined-behaviour sanitizers and instrumented for the fuzzer's coverage, so that one build
# runs the tests under the sanitizers (scripts/test.sh) and links the fuzz targets
# (scripts/fuzz.sh). TALLION_TARGETS names the targets to build, as for scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
# A build-asan/ made by an older script with another compiler cannot be switched to clang.
if [ -f build-asan/CMakeCache.txt ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang++-14$' build-asan/CMakeCache.txt; then
  rm -rf build-asan
fi
exec scripts/build.sh build-asan -DCMAKE_CXX_COMPILER=clang++-14 -DTALLION_SANITIZE=ON -DTALLION_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=Debug -DTALLION_WERROR=ON -DTALLION_DEBUG_INFO=lines -DTALLION_BENCH=OFF
