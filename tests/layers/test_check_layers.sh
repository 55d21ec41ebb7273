#!/usr/bin/env bash
# The layer check must pass on the sources and fail on a tree that breaks a
# rule, or a check that silently passes everything would go unnoticed.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
check="$root/scripts/check-layers.sh"

"$check" "$root/src"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
expect_failure() {  # a file's path below the tree, its include, what the check must say
  rm -rf "$tmp/src" && mkdir -p "$tmp/src/$(dirname "$1")"
  printf '#include %s\n' "$2" >"$tmp/src/$1"
  if out=$("$check" "$tmp/src"); then
    echo "not caught: $1 including $2"; exit 1
  fi
  grep -qF "$3" <<<"$out" || { echo "unexpected report: $out"; exit 1; }
}
expect_failure model/a.h '"engine/turn_loop.h"' "model/a.h:1: model may not include engine/"
expect_failure player/a.cpp '"storage/state_file.h"' "player may not include storage/"
expect_failure engine/a.cpp '"table/table_window.h"' "engine may not include table/"
expect_failure platform/a.cpp '"dialogs/message_dialog.h"' "platform may not include dialogs/"
expect_failure sim/a.cpp '"layout/hand_layout.h"' "sim may not include layout/"
expect_failure net/a.cpp '"server/hall.h"' "net may not include server/"
expect_failure layout/a.cpp '<QImage>' "the core never includes Qt"
expect_failure widgets/a.cpp '"model/game_state.h"' "a folder that is no layer"
echo "the layer check catches every kind of wrong include"
