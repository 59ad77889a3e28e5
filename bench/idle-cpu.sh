#!/usr/bin/env bash
# The idle cost of the real program, window shown, under a virtual X server:
# percent of one core and resident memory over SECONDS (default 30), first
# scanning with no instrument, then linked to travenor-sim and polling.
# Needs root for the second part (the simulator's device is made /dev/ttyUSB0,
# which the program counts as port 1). Usage: bench/idle-cpu.sh [SECONDS] [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
build=${2:-build}
display=:$((90 + RANDOM % 9))

Xvfb "$display" -screen 0 1280x900x24 >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  kill "${program:-}" "${sim:-}" "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
sleep 1

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
measure() {  # pid label
  sleep 3
  local before after hz rss
  hz=$(getconf CLK_TCK)
  before=$(ticks "$1")
  sleep "$seconds"
  after=$(ticks "$1")
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$1/status")
  awk -v b="$before" -v a="$after" -v hz="$hz" -v s="$seconds" -v l="$2" -v r="$rss" \
    'BEGIN { printf "%s: %.2f%% of one core over %d s, resident %d KiB\n", l, 100 * (a - b) / hz / s, s, r }'
}

DISPLAY=$display "$build/travenor" &
program=$!
measure "$program" "scanning, no instrument"
kill "$program"; wait "$program" 2>/dev/null || true

if [ "$(id -u)" -eq 0 ] && [ ! -e /dev/ttyUSB0 ]; then
  "$build/travenor-sim" --link /dev/ttyUSB0 >/dev/null &
  sim=$!
  sleep 1
  DISPLAY=$display "$build/travenor" &
  program=$!
  measure "$program" "linked and polling"
else
  echo "linked and polling: skipped (needs root and a free /dev/ttyUSB0)"
fi
