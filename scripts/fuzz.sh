#!/usr/bin/env bash
# Builds every fuzz target with clang's libFuzzer and the address and undefined-behaviour
# sanitizers into build-fuzz/, then runs each for a short fixed time starting from its seed
# corpus in fuzz/corpus/<target>/. Fails if any target crashes, leaks, trips a sanitizer or a
# check, or cannot run.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]     (default: 20 seconds, every target)
#
# Inputs the fuzzer finds interesting are kept in build-fuzz/corpus/<target>/ for the next run;
# a crashing input is saved in build-fuzz/artifacts/<target>/ and replays with
#   build/fuzz/<target>_replay build-fuzz/artifacts/<target>/crash-...
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(decoders_fuzz dispatch_fuzz link_fuzz scale_fuzz log_fuzz hex_fuzz settings_fuzz)
fi

scripts/install-deps.sh
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-fuzz -G Ninja "${launcher[@]}" -DCMAKE_CXX_COMPILER=clang++-14 \
  -DTALLION_FUZZ=ON -DTALLION_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

# Leaks count as failures; a sanitizer report always ends the run with a stack trace.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$target"
  artifacts="build-fuzz/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$artifacts/")
  case "$target" in
    # Receptions and scale messages beyond 4096 bytes take the links' overflow path.
    link_fuzz | scale_fuzz) options+=(-max_len=10000) ;;
    # Firmware files of more than one chunk.
    hex_fuzz) options+=(-max_len=4000) ;;
  esac
  log="build-fuzz/$target.log"
  echo "== $target: ${seconds}s"
  if "build-fuzz/fuzz/$target" "${options[@]}" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec)|^#[0-9]+ *DONE' "$log" | tr '\n' ' '
    echo
  else
    echo "!! $target failed; the end of its log ($log):"
    tail -n 40 "$log"
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing failed: ${failed[*]}"
  exit 1
fi
echo "Fuzzing passed: ${targets[*]}"
