#!/usr/bin/env bash
# Configures and builds the station into build/ (or the folder given as $1 with extra CMake options).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${1:-build}"
shift || true
cmake -S . -B "$BUILD_DIR" -G Ninja "$@"
cmake --build "$BUILD_DIR" -j "$(nproc)"
