#!/usr/bin/env bash
# A full room on one server process: starts tarvelis-server on a free
# loopback port, lets tarvelis-bots --room bring in four bots per table, each
# entering the room with its own key and taking the quick seat (so TABLES
# public tables start by themselves, their matches played as people play,
# THINK_MS a move), and once every bot sits, a last client enters and says a
# few lines. It prints the bytes and the time the whole room takes to reach
# that client, how long a line of the room's chat takes to reach every bot
# (its median, 99th percentile and worst), and the server's memory per person
# in the room (its growth over the run, tables included, over the people).
#
#   bench/room_load.sh [BUILD] [TABLES] [THINK_MS] [ARRIVALS]
#
# Defaults: build, 500 tables (2,000 people), bots thinking a second a move,
# coming into the room 40 a second.
# Everything stops by itself: the bots after their --timeout, the server after
# --stop-after, and the script stops the server as soon as the bots are done.
set -euo pipefail
source "$(dirname "$0")/../scripts/loopback-server.sh"
build="${1:-build}"
tables="${2:-500}"
think="${3:-1000}"
arrivals="${4:-40}"
work=$(mktemp -d "$build/room-bench.XXXXXX")
load_start=$(cut -d' ' -f1 /proc/loadavg)
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

start_loopback_server "$build/src" "$work/tables" 600 "$work/server" \
  --max-room $((tables * 4 + 100)) ||
  { echo "the server did not start" >&2; exit 1; }
rss_start=$(awk '/^VmRSS/ {print $2}' "/proc/$server_pid/status")
started=$(date +%s.%N)
TIMEFORMAT="%U %S"
{ time "$build/src/tarvelis-bots" --server "127.0.0.1:$port" --tables "$tables" --room --probe \
  --arrivals "$arrivals" --think "$think" --timeout 500 >"$work/bots.out" || true; } 2>"$work/bots.time"
result=$(grep '^{' "$work/bots.out" || true)
# The processor time of each side: on a shared machine the bots, reading
# every room's news on one thread, fall behind before the server does.
bots_cpu=$(awk 'END { printf "%.2f", $1 + $2 }' "$work/bots.time")
server_cpu=$(awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$server_pid/stat")
seconds=$(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }')
peak=$(awk '/^VmHWM/ {print $2}' "/proc/$server_pid/status")
people=$((tables * 4 + 1))
per_person=$(awk -v p="$peak" -v s="$rss_start" -v n="$people" 'BEGIN { printf "%.1f", (p - s) / n }')
load=$(cut -d' ' -f1 /proc/loadavg)
kill "$server_pid"
wait "$server_pid" || true
server_pid=""
cut=$(sed -n 's/.* cut \([0-9]*\) .*/\1/p' "$work/server.out" | tail -1)
[ -n "$result" ] || { echo "the bots reported nothing (connections cut: ${cut:-0})" >&2; exit 1; }
echo "${result%\}},\"run_seconds\":$seconds,\"server_rss_start_kb\":$rss_start,\"server_rss_peak_kb\":$peak,\"kb_per_person\":$per_person,\"connections_cut\":${cut:-0},\"server_cpu_s\":$server_cpu,\"bots_cpu_s\":$bots_cpu,\"load_average_start\":$load_start,\"load_average\":$load}"
