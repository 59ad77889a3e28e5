#!/usr/bin/env bash
# Installs a built tree into a staging folder and checks what a desktop
# expects of it, then builds the .deb and checks its dependencies.
# Usage: scripts/package-check.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
expected=(
  usr/bin/travenor
  usr/bin/travenor-sim
  usr/bin/travenor-demo
  usr/bin/travenor-cli
  usr/share/applications/org.travenor.Travenor.desktop
  usr/share/icons/hicolor/scalable/apps/org.travenor.Travenor.svg
  usr/share/metainfo/org.travenor.Travenor.metainfo.xml
  usr/share/man/man1/travenor-sim.1
  usr/share/doc/travenor/LICENSE
)
for f in "${expected[@]}"; do
  [ -e "$stage/$f" ] || { echo "package-check: $f is not installed" >&2; exit 1; }
done
desktop-file-validate "$stage/usr/share/applications/org.travenor.Travenor.desktop"
appstreamcli validate --no-net --pedantic "$stage/usr/share/metainfo/org.travenor.Travenor.metainfo.xml"
man -l "$stage/usr/share/man/man1/travenor-sim.1" >/dev/null 2>&1 || true

(cd "$build" && rm -f travenor_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/travenor_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "package-check: $(basename "$deb") depends on: $depends"
for needed in libqt6svg6 libqt6widgets6 libqt6serialport6 libqt6printsupport6; do
  case "$depends" in
    *"$needed"*) ;;
    *) echo "package-check: $needed missing from Depends" >&2; exit 1 ;;
  esac
done
contents=$(dpkg-deb -c "$deb")
case "$contents" in
  *./usr/share/applications/org.travenor.Travenor.desktop*) ;;
  *) echo "package-check: the .deb has no desktop entry" >&2; exit 1 ;;
esac
echo "package-check: passed"
