#!/usr/bin/env bash
# Fails when a source file includes a folder its layer may not see. Each folder
# of src/ is one layer; a file includes from its own folder and the folders its
# line below names, nothing else. The core folders (model to engine) also never
# include Qt, so the rules stay testable without a display.
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"

declare -A allowed=(
  [model]="model"
  [player]="player model"
  [storage]="storage model"
  [layout]="layout model"
  [engine]="engine player model"
  [platform]="platform net engine layout storage player model"
  [dialogs]="dialogs platform net engine layout storage player model"
  [table]="table dialogs platform net engine layout storage player model"
  [app]="app table dialogs platform net protocol engine layout storage player model"
  [sim]="sim engine storage player model"
  [protocol]="protocol model"
  [server]="server protocol engine storage player model"
  [net]="net protocol engine layout storage player model"
  [web]="web net protocol engine layout storage player model"
)
core="model player storage layout engine protocol net web"

status=0
for dir in "$src"/*/; do
  layer=$(basename "$dir")
  if [ -z "${allowed[$layer]+x}" ]; then
    echo "src/$layer: a folder that is no layer; add it to scripts/check-layers.sh"
    status=1
    continue
  fi
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    target=$(sed -E 's/^[^"]*"([^/"]+)\/.*/\1/' <<<"${rest#*:}")
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      echo "${file#"$src"/}:$line: $layer may not include $target/"
      status=1
    fi
  done < <(grep -rnE '^#include "[^"/]+/' "$dir" || true)
  if [[ " $core " == *" $layer "* ]]; then
    while IFS= read -r hit; do
      echo "${hit#"$src"/}: the core never includes Qt"
      status=1
    done < <(grep -rnE '^#include <Q' "$dir" || true)
  fi
done
[ $status -eq 0 ] && echo "layers: every include goes down"
exit $status
