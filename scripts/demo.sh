#!/usr/bin/env bash
# Installs what is needed, builds, and starts the station with its simulated probe and scale.
# Options are passed on to the station: ./scripts/demo.sh --weighing pairs each carcass with a
# weight from the simulated scale.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Only what the demo needs: the tests are built by scripts/test.sh.
TALLION_TARGETS="tallion tallion_manual" scripts/build.sh build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running the demo under Xvfb (a virtual screen)."
  echo "A screenshot is written to build/demo-screenshot.png every 10 seconds; stop with Ctrl+C."
  exec xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
    build/tallion --demo "$@" & pid=$!
    trap "kill $pid 2>/dev/null" EXIT INT TERM
    while kill -0 $pid 2>/dev/null; do
      sleep 10
      import -window root build/demo-screenshot.png 2>/dev/null || true
    done' demo "$@"
fi
exec build/tallion --demo "$@"
