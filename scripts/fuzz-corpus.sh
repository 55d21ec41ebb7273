#!/usr/bin/env bash
# Seeds for the fuzz targets: states saved by tarvelis-sim part way through
# hands of several seeds, rules and table sizes, the damaged samples of the
# tests, and a few history records.
# Usage: scripts/fuzz-corpus.sh SIM OUT_FOLDER
set -euo pipefail
sim=$1
out=$2
here="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$out/state" "$out/history"
for seed in 1 2 3 4 5 6; do
  for move in 1 4 9 15 22; do
    "$sim" --matches 1 --seed "$seed" --save-after-move "$move" "$out/state/s$seed-m$move.ini" \
      >/dev/null || true  # a hand that ends sooner has no such move
  done
  "$sim" --matches 1 --seed "$seed" --vary-rules --screen 640x480 \
    --save-after-move 12 "$out/state/low-s$seed.ini" >/dev/null || true
  "$sim" --matches 1 --seed "$seed" --rule RuleMode=2 --screen 1600x1200 \
    --save-after-move 18 "$out/state/wide-s$seed.ini" >/dev/null || true
done
cp "$here"/tests/data/damaged/*.ini "$out/state/"
record() {  # date, four names, points, mode
  printf '%-12s%-9s%-9s%-9s%-9s%3d%3d%3d%3d%s\r\n' "$1" "$2" "$3" "$4" "$5" "$6" "$7" "$8" "$9" "${10}"
}
{
  record 202612061200 Ana Luis Eva Pablo 7 3 0 0 P
  record 202612061315 Jugador1 Jugador4 Jugador2 Jugador3 12 9 4 1 I
} >"$out/history/two.his"
record 202601010000 "Íñigo" "Begoña" "José" "Raúl" 5 0 0 0 P | iconv -f UTF-8 -t CP1252 \
  >"$out/history/accents.his"
