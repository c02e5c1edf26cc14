#!/usr/bin/env bash
# Configures and builds the station into build/ (or the folder given as $1 with extra CMake options).
# TALLION_TARGETS names the targets to build (default: everything, tests included).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${1:-build}"
shift || true
# A compiler cache, where one is installed, makes rebuilds of unchanged files instant.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths inside the checkout count relative to it, and the build folder is not hashed: a clone
  # elsewhere (CI's) reuses the cache. A sanitizer's line tables may then name the folder of the
  # build that filled the cache; nothing else does. The inode cache keeps ccache from hashing the
  # large precompiled header again for every file that uses it.
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true CCACHE_INODECACHE=true
fi
cmake -S . -B "$BUILD_DIR" -G Ninja "${launcher[@]}" "$@"
targets=()
for t in ${TALLION_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$BUILD_DIR" -j "$(nproc)" "${targets[@]}"
