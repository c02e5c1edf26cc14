#!/usr/bin/env bash
# Fails when a C++ file is not laid out as .clang-format says; `clang-format-14 -i FILE` mends it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
format=clang-format-14
command -v "$format" >/dev/null 2>&1 || format=clang-format
git ls-files '*.cpp' '*.h' | xargs "$format" --dry-run --Werror
echo "format: every C++ file follows .clang-format"
