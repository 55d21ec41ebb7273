#!/usr/bin/env bash
# Honest tables beside busy expert tables and a flooder on one server: starts
# tarvelis-server on a free loopback port; a flooder (bench/flooder.py, from
# 127.0.0.2) sends without reading for as long as the busy tables play; EXPERTS tables of [person, expert, expert, expert],
# whose person answers every question "auto" at once, keep the computer's
# moves busy for the whole run; TABLES tables of four bots thinking as people
# do (half a second to one and a half before each move, one move in two left
# to the computer) play matches to TARGET beside them. Prints the honest
# tables' figures (their round trip is what is measured), the busy tables'
# moves, the server's processor time and the machine's load as the run starts
# and ends.
#
#   bench/server_experts.sh [BUILD] [TABLES] [EXPERTS] [TARGET] [BUSY_SECONDS] [SERVER_DIR]
#
# Defaults: build, 1000 tables, 8 busy tables, target 1 (a hand or two, some
# thirty seconds), busy tables for 80 seconds (they must outlast the honest
# ones: "honest_inside_busy" says whether they did). SERVER_DIR runs the
# tarvelis-server of another build (an older one, to measure alongside) with
# this build's bots.
#
# Everything stops by itself: the bots after their --timeout, the server after
# --stop-after, and the script stops the server once the bots are done.
set -euo pipefail
source "$(dirname "$0")/../scripts/loopback-server.sh"
build="${1:-build}"
tables="${2:-1000}"
experts="${3:-8}"
target="${4:-1}"
busy_seconds="${5:-80}"
server_dir="${6:-$build/src}"
work=$(mktemp -d "$build/server-experts.XXXXXX")
load_start=$(cut -d' ' -f1 /proc/loadavg)
server_pid=""
busy_pid=""
flood_pid=""
cleanup() {
  if [ -n "$flood_pid" ]; then kill "$flood_pid" 2>/dev/null || true; wait "$flood_pid" 2>/dev/null || true; fi
  if [ -n "$busy_pid" ]; then kill "$busy_pid" 2>/dev/null || true; wait "$busy_pid" 2>/dev/null || true; fi
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

start_loopback_server "$server_dir" "$work/tables" 300 "$work/server" ||
  { echo "the server did not start" >&2; exit 1; }

# The busy tables play long matches and outlast the honest ones.
"$build/src/tarvelis-bots" --server "127.0.0.1:$port" --tables "$experts" --seats peee --auto \
  --think 0 --target 999 --json --timeout "$busy_seconds" >"$work/busy.out" 2>&1 &
busy_pid=$!
python3 "$(dirname "$0")/flooder.py" "$port" "$busy_seconds" >"$work/flood.out" 2>&1 &
flood_pid=$!
sleep 2
honest_start=$SECONDS
honest=$("$build/src/tarvelis-bots" --server "127.0.0.1:$port" --tables "$tables" \
  --think 1000 --target "$target" --json --timeout 200 || true)
load=$(cut -d' ' -f1 /proc/loadavg)
cpu=$(awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$server_pid/stat")
inside=$(( SECONDS - honest_start + 2 < busy_seconds ? 1 : 0 ))
# The server stops while the busy tables still play; it prints its own time
# over each message as it stops. The busy bots then give up at their time and
# print what they played.
kill "$server_pid"
wait "$server_pid" || true
server_pid=""
wait "$busy_pid" || true
busy_pid=""
wait "$flood_pid" || true
flood_pid=""
echo "honest ${honest}"
echo "busy $(cat "$work/busy.out")"
echo "flood $(cat "$work/flood.out")"
echo "server $(grep '^handled' "$work/server.out" || echo 'no handling figures')"
echo "honest_inside_busy $inside server_cpu_s $cpu load_average_start $load_start load_average_end $load"
