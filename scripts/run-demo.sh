#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program against the
# simulated instrument (port 3). Pass --real to start the program itself,
# which scans the machine's serial ports for a real instrument.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh build -DTRAVENOR_TESTS=OFF -DTRAVENOR_BENCH=OFF
program=build/travenor-demo
[ "${1:-}" = "--real" ] && program=build/travenor
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting under a virtual X server (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x900x24" "$program"
fi
exec "$program"
