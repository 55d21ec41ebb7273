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
#   bench/room_load.sh [BUILD] [TABLES] [THINK_MS]
#
# Defaults: build, 500 tables (2,000 people), bots thinking a second a move.
# Everything stops by itself: the bots after their --timeout, the server after
# --stop-after, and the script stops the server as soon as the bots are done.
set -euo pipefail
source "$(dirname "$0")/../scripts/loopback-server.sh"
build="${1:-build}"
tables="${2:-500}"
think="${3:-1000}"
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
result=$("$build/src/tarvelis-bots" --server "127.0.0.1:$port" --tables "$tables" --room --probe \
  --think "$think" --timeout 500 || true)
seconds=$(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }')
peak=$(awk '/^VmHWM/ {print $2}' "/proc/$server_pid/status")
people=$((tables * 4 + 1))
per_person=$(awk -v p="$peak" -v s="$rss_start" -v n="$people" 'BEGIN { printf "%.1f", (p - s) / n }')
cut=$(sed -n 's/.* cut \([0-9]*\) .*/\1/p' "$work/server.out" | tail -1)
load=$(cut -d' ' -f1 /proc/loadavg)
kill "$server_pid"
wait "$server_pid" || true
server_pid=""
cut=$(sed -n 's/.* cut \([0-9]*\) .*/\1/p' "$work/server.out" | tail -1)
[ -n "$result" ] || { echo "the bots reported nothing" >&2; exit 1; }
echo "${result%\}},\"run_seconds\":$seconds,\"server_rss_start_kb\":$rss_start,\"server_rss_peak_kb\":$peak,\"kb_per_person\":$per_person,\"connections_cut\":${cut:-0},\"load_average_start\":$load_start,\"load_average\":$load}"
