#!/usr/bin/env bash
# The one-way rule between the layers: a file may include its own layer and
# the layers below it, never one above. The libraries already keep Qt Widgets
# out of the core; this catches a header-only include across the layers,
# which a build alone would let through.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

declare -A allowed=(
  [src/format]="format"
  [src/platform]="platform"
  [src/link]="format platform link"
  [src/records]="format platform link records"
  [src/report]="format platform link records report"
  [src/shell]="format platform link records shell"
  [src/cli]="format platform link records report shell cli"
  [sim]="format platform link records shell sim"
)

status=0
for folder in "${!allowed[@]}"; do
  while IFS= read -r hit; do
    file=${hit%%:*}
    layer=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$hit")
    if [[ " ${allowed[$folder]} " != *" $layer "* ]]; then
      echo "layer rule broken: ${file#"$root"/} includes $layer/" >&2
      status=1
    fi
  done < <(grep -rHE '^#include "[a-z]+/' "$root/$folder" || true)
done
# The shell's decisions are built without the window: they include no window file.
for file in Command Core LivePresenter PortNotices ProgramTimers ShownReadings StatusRefresh Ticks Views; do
  for f in "$root"/src/shell/$file.*; do
    if grep -HE '^#include "shell/' "$f" | grep -vE 'shell/(Command|Core|LivePresenter|PortNotices|ProgramTimers|ShownReadings|StatusRefresh|Ticks|Views)\.h'; then
      echo "layer rule broken: ${f#"$root"/} includes a window file" >&2
      status=1
    fi
  done
done
[[ $status -eq 0 ]] && echo "every include keeps to the layers"
exit $status
