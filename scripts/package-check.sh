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
  usr/share/icons/hicolor/48x48/apps/org.travenor.Travenor.png
  usr/share/icons/hicolor/256x256/apps/org.travenor.Travenor.png
  usr/share/metainfo/org.travenor.Travenor.metainfo.xml
  usr/share/man/man1/travenor.1.gz
  usr/share/man/man1/travenor-cli.1.gz
  usr/share/man/man1/travenor-demo.1.gz
  usr/share/man/man1/travenor-sim.1.gz
  usr/share/doc/travenor/changelog.gz
  usr/share/doc/travenor/copyright
  usr/share/doc/travenor/LICENSE
)
for f in "${expected[@]}"; do
  [ -e "$stage/$f" ] || { echo "package-check: $f is not installed" >&2; exit 1; }
done
desktop-file-validate "$stage/usr/share/applications/org.travenor.Travenor.desktop"
appstreamcli validate --no-net --pedantic "$stage/usr/share/metainfo/org.travenor.Travenor.metainfo.xml"
for page in "$stage"/usr/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "package-check: $page: $warnings" >&2; exit 1; }
done

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
# Debian's own check of the package: no error and no warning may remain
# (information tags may).
tags=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null | grep -E '^[EW]: ' || true)
[ -z "$tags" ] || { echo "package-check: lintian found:" >&2; echo "$tags" >&2; exit 1; }
echo "package-check: lintian: no error, no warning"
echo "package-check: passed"
