#!/usr/bin/env bash
# A full room on one server process: starts tarvelis-server on a free
# loopback port, lets tarvelis-bots --room bring in four bots per table, each
# entering the room with its own key and taking the quick seat (so TABLES
# public tables start by themselves, their matches played as people play,
# THINK_MS a move), and once every bot sits, a last client enters and says a
# few lines, then changes its name a few times. It prints the bytes and the
# time the whole room takes to reach that client, how long a line of the
# room's chat and a change of the room take to reach the bots of the last
# process (the median, 99th percentile and worst of each), and the
# server's memory per person in the room (its growth over the run, tables
# included, over the people).
#
#   bench/room_load.sh [BUILD] [TABLES] [THINK_MS] [ARRIVALS] [PROCESSES]
#
# Defaults: build, 500 tables (2,000 people), bots thinking a second a move,
# coming into the room 40 a second, four bots processes. One process reading
# every room line of 2,000 bots falls behind and the server cuts what it
# leaves unread, so the room is filled by PROCESSES of them: all but the last
# bring in their share at once; the last, with the probe, starts once the
# server counts the others present. Its bots entered last, so they are the
# last the server tells of a chat line: the chat's time is measured on them.
# Everything stops by itself: the bots after their --timeout, the server after
# --stop-after, and the script stops the server and the bots as soon as the
# probe is done.
set -euo pipefail
source "$(dirname "$0")/../scripts/loopback-server.sh"
build="${1:-build}"
tables="${2:-500}"
think="${3:-1000}"
arrivals="${4:-40}"
processes="${5:-4}"
# Matches long enough that nobody's ends while the room fills and is measured:
# a room whose first tables finish empties as it fills.
target=500
work=$(mktemp -d "$build/room-bench.XXXXXX")
load_start=$(cut -d' ' -f1 /proc/loadavg)
server_pid=""
crowd_pids=()
lean_pid=""
cleanup() {
  for pid in "${crowd_pids[@]}" $lean_pid; do kill "$pid" 2>/dev/null || true; done
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

start_loopback_server "$build/src" "$work/tables" 600 "$work/server" \
  --max-room $((tables * 4 + 100)) --log-seconds 1 ||
  { echo "the server did not start" >&2; exit 1; }
rss_start=$(awk '/^VmRSS/ {print $2}' "/proc/$server_pid/status")
started=$(date +%s.%N)
share=$((tables / processes))
last_tables=$((tables - share * (processes - 1)))
crowd_arrivals=$((arrivals / processes > 4 ? arrivals / processes : 4))
for ((i = 0; i < processes - 1; i++)); do
  "$build/src/tarvelis-bots" --server "127.0.0.1:$port" --tables "$share" --room \
    --first $((i * 4 * share)) --seed $((i + 2)) --arrivals "$crowd_arrivals" --think "$think" \
    --target "$target" --timeout 500 >"$work/crowd$i.out" 2>&1 &
  crowd_pids+=($!)
done
# The last process starts once the server counts the others present: a
# bounded wait, as long as their arrival should take and a minute more.
crowd=$((share * 4 * (processes - 1)))
present=0
for _ in $(seq $((crowd / (crowd_arrivals * (processes > 1 ? processes - 1 : 1)) + 60))); do
  present=$(sed -n 's/.* people \([0-9]*\) .*/\1/p' "$work/server.out" | tail -1)
  [ "${present:-0}" -ge "$crowd" ] && break
  sleep 1
done
[ "${present:-0}" -ge "$crowd" ] || echo "only ${present:-0} of $crowd came in before the probe" >&2
# Beside the probe, once the whole room is present and the probe has measured
# its listing, lines and changes (eight seconds after it entered; it reports
# three seconds later), a bare client with no bots in its process enters five
# times: the server's share of the listing's time.
{
  for _ in $(seq 240); do
    present=$(sed -n 's/.* people \([0-9]*\) .*/\1/p' "$work/server.out" | tail -1)
    [ "${present:-0}" -ge $((tables * 4 + 1)) ] && break
    sleep 0.5
  done
  sleep 8.5
  python3 "$(dirname "$0")/room_enter.py" "$port" $((tables * 4 + 1)) "$tables" 5
} >"$work/lean.out" 2>&1 &
lean_pid=$!
TIMEFORMAT="%U %S"
{ time "$build/src/tarvelis-bots" --server "127.0.0.1:$port" --tables "$last_tables" --room --probe \
  --first "$crowd" --arrivals "$arrivals" --think "$think" --target "$target" --timeout 500 \
  >"$work/bots.out" || true; } 2>"$work/bots.time"
result=$(grep '^{' "$work/bots.out" || true)
wait "$lean_pid" || true
lean=$(grep '^{' "$work/lean.out" | tr -d '{}' || true)
# The processor time of each side: on a shared machine the bots, reading
# every room's news on one thread, fall behind before the server does.
bots_cpu=$(awk 'END { printf "%.2f", $1 + $2 }' "$work/bots.time")
for pid in "${crowd_pids[@]}"; do
  bots_cpu=$(awk -v hz="$(getconf CLK_TCK)" -v sum="$bots_cpu" \
    '{ printf "%.2f", sum + ($14 + $15) / hz }' "/proc/$pid/stat" 2>/dev/null || echo "$bots_cpu")
  kill "$pid" 2>/dev/null || true
done
crowd_pids=()
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
# The probe's own count is its process's; the room held every process's.
result=$(echo "$result" | sed "s/\"people\":[0-9]*,\"tables\":[0-9]*/\"people\":$people,\"tables\":$tables,\"chat_heard_by\":$((4 * last_tables))/")
echo "${result%\}},${lean}${lean:+,}\"run_seconds\":$seconds,\"server_rss_start_kb\":$rss_start,\"server_rss_peak_kb\":$peak,\"kb_per_person\":$per_person,\"connections_cut\":${cut:-0},\"server_cpu_s\":$server_cpu,\"bots_cpu_s\":$bots_cpu,\"bots_processes\":$processes,\"load_average_start\":$load_start,\"load_average\":$load}"
