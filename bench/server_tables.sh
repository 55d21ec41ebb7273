#!/usr/bin/env bash
# Many tables at once on one server process: starts tarvelis-server on a free
# loopback port, lets tarvelis-bots play TABLES whole matches at the same time
# (seats dropping with probability DROP per move), and prints the bots'
# figures with the server's memory: its resident size once started, at its
# peak, and the peak's growth per table.
#
#   bench/server_tables.sh [BUILD] [TABLES] [DROP] [THINK_MS]
#
# Defaults: build, 1000 tables, no drops, and bots that think a second (half
# to one and a half) before each move, as people do; THINK_MS 0 answers at
# once and measures how many moves a second the server takes instead.
#
# Everything stops by itself: the bots after their --timeout, the server after
# --stop-after, and the script stops the server as soon as the bots are done.
set -euo pipefail
source "$(dirname "$0")/../scripts/loopback-server.sh"
build="${1:-build}"
tables="${2:-1000}"
drop="${3:-0}"
think="${4:-1000}"
work=$(mktemp -d "$build/server-bench.XXXXXX")
# The machine's load as the run starts and as it ends: the round trip is only
# comparable between runs made under like loads.
load_start=$(cut -d' ' -f1 /proc/loadavg)
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

start_loopback_server "$build/src" "$work/tables" 1200 "$work/server" ||
  { echo "the server did not start" >&2; exit 1; }
rss_start=$(awk '/^VmRSS/ {print $2}' "/proc/$server_pid/status")

TIMEFORMAT="%U %S"
{ time "$build/src/tarvelis-bots" --server "127.0.0.1:$port" --tables "$tables" --drop "$drop" \
  --think "$think" --json --timeout 1100 >"$work/bots.out" || true; } 2>"$work/bots.time"
result=$(cat "$work/bots.out")
bots_cpu=$(awk '{ printf "%.2f", $1 + $2 }' "$work/bots.time")
peak=$(awk '/^VmHWM/ {print $2}' "/proc/$server_pid/status")
per_table=$(( (peak - rss_start) / tables ))
# The server's processor time, user and system, and its share per move.
cpu=$(awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$server_pid/stat")
moves=$(sed -n 's/.*"moves":\([0-9]*\).*/\1/p' <<<"$result")
per_move=$(awk -v c="$cpu" -v m="${moves:-0}" 'BEGIN { printf "%.0f", (m > 0 ? c * 1e6 / m : 0) }')
load=$(cut -d' ' -f1 /proc/loadavg)
# The server's own time over each message, printed as it stops.
kill "$server_pid"
wait "$server_pid" || true
server_pid=""
handling=$(sed -n 's/^handled [0-9]* messages: median \([0-9]*\) us, p99 \([0-9]*\) us$/\1,\2/p' "$work/server.out")
echo "${result%\}},\"server_rss_start_kb\":$rss_start,\"server_rss_peak_kb\":$peak,\"kb_per_table\":$per_table,\"server_cpu_s\":$cpu,\"server_cpu_us_per_move\":$per_move,\"bots_cpu_s\":$bots_cpu,\"server_handling_median_us\":${handling%,*},\"server_handling_p99_us\":${handling#*,},\"load_average_start\":$load_start,\"load_average\":$load}"
