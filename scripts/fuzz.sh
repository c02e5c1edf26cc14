#!/usr/bin/env bash
# Builds every fuzz target with clang's libFuzzer and the address and undefined-behaviour
# sanitizers in the sanitizer build, build-asan/ (scripts/build-sanitized.sh; after
# scripts/test.sh there is nothing left to build), then runs each for a short fixed time starting
# from its seed corpus in fuzz/corpus/<target>/. Fails if any target crashes, leaks, trips a
# sanitizer or a check, or cannot run.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]     (default: 20 seconds, every target)
#
# Inputs the fuzzer finds interesting are kept in build-asan/corpus/<target>/ for the next run;
# a crashing input is saved in build-asan/artifacts/<target>/ and replays with
#   build/fuzz/<target>_replay build-asan/artifacts/<target>/crash-...
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(decoders_fuzz dispatch_fuzz link_fuzz scale_fuzz log_fuzz log_view_fuzz summary_fuzz hex_fuzz
           settings_fuzz outbox_journal_fuzz)
fi

scripts/install-deps.sh
TALLION_TARGETS="${targets[*]}" scripts/build-sanitized.sh

# Leaks count as failures; a sanitizer report always ends the run with a stack trace.
export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# One target's run; its output goes to build-asan/<target>.log, its exit code to .status.
run_target() {
  local target="$1"
  local corpus="build-asan/corpus/$target"
  local artifacts="build-asan/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
                 -artifact_prefix="$artifacts/")
  case "$target" in
    # Receptions and scale messages beyond 4096 bytes take the links' overflow path.
    link_fuzz | scale_fuzz) options+=(-max_len=10000) ;;
    # Firmware files of several chunks.
    hex_fuzz) options+=(-max_len=4000) ;;
  esac
  local status=0
  "build-asan/fuzz/$target" "${options[@]}" "$corpus" "fuzz/corpus/$target" >"build-asan/$target.log" 2>&1 \
    || status=$?
  echo "$status" >"build-asan/$target.status"
}

# One target per core at a time.
echo "Fuzzing ${#targets[@]} targets for ${seconds}s each, $(nproc) at a time"
for target in "${targets[@]}"; do
  rm -f "build-asan/$target.status"
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
    wait -n || true
  done
  run_target "$target" &
done
wait

failed=()
for target in "${targets[@]}"; do
  log="build-asan/$target.log"
  if [ "$(cat "build-asan/$target.status" 2>/dev/null)" = 0 ]; then
    coverage="$(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+' "$log" | tail -n 1)"
    speed="$(grep -E '^stat::average_exec_per_sec' "$log" | grep -oE '[0-9]+$')"
    echo "== $target: $(grep -E '^Done [0-9]+ runs' "$log"), $speed exec/s, $coverage"
  else
    echo "!! $target failed; the end of its log ($log):"
    tail -n 40 "$log"
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing failed: ${failed[*]}"
fi
echo "fuzz: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
