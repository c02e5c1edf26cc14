#!/usr/bin/env bash
# Runs the end-to-end tests (label "e2e") N times in a row with every core kept busy beside them,
# in the normal build and in the sanitizer build, as the README's test command builds them:
#   scripts/stress-e2e.sh N [BUILD_DIR...]      (default: build build-asan)
# Stops at the first round that fails. Build first (scripts/build.sh, scripts/build-sanitized.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

rounds="${1:-}"
if ! [[ "$rounds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 N [BUILD_DIR...]" >&2
  exit 2
fi
shift
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(build build-asan)
for dir in "${builds[@]}"; do
  if [ ! -f "$dir/CTestTestfile.cmake" ]; then
    echo "$0: $dir is not a build folder; build it first" >&2
    exit 2
  fi
done

# One busy loop per core, ended (by its own process id) however the script ends.
busy=()
stop_busy() {
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${busy[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap stop_busy EXIT
for _ in $(seq "$(nproc)"); do
  bash -c 'while :; do :; done' &
  busy+=("$!")
done

export QT_QPA_PLATFORM=offscreen
for round in $(seq "$rounds"); do
  for dir in "${builds[@]}"; do
    echo "== round $round of $rounds: $dir (${#busy[@]} busy loops beside)"
    (cd "$dir" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
      ctest -L '^e2e$' --output-on-failure -j 2 --timeout 300)
  done
done
echo "== $rounds round(s) passed in: ${builds[*]}"
