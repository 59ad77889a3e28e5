#!/usr/bin/env bash
# The window as a screen reader hears it, through AT-SPI: the demo runs under
# a virtual X server with its own session bus and accessibility bus, and a
# listener counts the name changes of a live reading, each with its value.
# Usage: screen-reader-check.sh DEMO LISTENER
set -euo pipefail
demo=$1
listener=$2
if [ -z "${INSIDE_SESSION:-}" ]; then
  export INSIDE_SESSION=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- "$0" "$@"
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
trap 'kill $bus ${app:-} 2>/dev/null || true' EXIT
sleep 1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
"$demo" >/dev/null 2>&1 &
app=$!
sleep 2
/usr/bin/python3 "$listener" 6
