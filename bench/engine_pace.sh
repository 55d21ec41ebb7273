#!/bin/sh
# The engine's pace beside a plain Python game loop of dominoes, in the same
# run so that both see the same machine: every seat lays its heaviest tile,
# hands per second of processor time, and their ratio.
#   bench/engine_pace.sh [BUILD_DIR] [MATCHES] [REPEATS]
set -eu
build=${1:-build}
matches=${2:-20000}
repeats=${3:-3}
here=$(dirname "$0")
sim="$build/src/tarvelis-sim"
[ -x "$sim" ] || { echo "no $sim: build the tarvelis-sim target first" >&2; exit 2; }
heaviest="--strategy 1=heaviest --strategy 2=heaviest --strategy 3=heaviest --strategy 4=heaviest"
i=0
while [ "$i" -lt "$repeats" ]; do
  i=$((i + 1))
  # shellcheck disable=SC2086
  engine=$("$sim" --matches "$matches" --seed "$i" $heaviest --time |
    sed -n 's/.*(\([0-9]*\) hands per cpu second).*/\1/p')
  # As many hands as the engine played, about 3.6 a match.
  peer=$(python3 "$here/peer_loop.py" $((matches * 36 / 10)) |
    sed -n 's/.* \([0-9]*\) hands\/cpu-second/\1/p')
  echo "run $i: engine $engine hands/cpu-s, peer loop $peer hands/cpu-s," \
    "ratio $(awk "BEGIN { printf \"%.1f\", $engine / $peer }")"
done
echo "load $(cut -d' ' -f1-3 /proc/loadavg)"
