#!/usr/bin/env bash
# Starts tarvelis-server on a free loopback port (the server picks it), plays
# whole matches through it with tarvelis-bots, some seats dropping and coming
# back with their tokens, and stops the server. Everything stops by itself:
# the server after --stop-after, the bots after --timeout.
set -euo pipefail
source "$(dirname "$0")/../../scripts/loopback-server.sh"
bin="$1"
work=$(mktemp -d "$bin/server-test.XXXXXX")
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Starts the server on the tables' folder; sets server_pid and port.
start_server() {
  rm -f "$work/server.out"
  start_loopback_server "$bin" "$work/tables" 240 "$work/server" ||
    { echo "the server did not say where it listens"; cat "$work/server.err"; exit 1; }
}
stop_server() {
  kill "$server_pid"
  wait "$server_pid" || true
  server_pid=""
}

start_server
result=$("$bin/tarvelis-bots" --server "127.0.0.1:$port" --tables 8 --drop 0.1 --json --timeout 200)
echo "$result"
grep -q '"tables":8,"finished":8,"errors":0,' <<<"$result" || { echo "not every match finished cleanly"; exit 1; }
grep -q '"drops":0,' <<<"$result" && { echo "no seat dropped: the test proves nothing of reconnection"; exit 1; }

# The finished tables leave no files behind once their players have gone.
sleep 1.5
left=$(find "$work/tables" -name '*.table' | wc -l)
[ "$left" -eq 0 ] || { echo "$left table files left after every match finished"; exit 1; }

# Bots that give up two seconds into slow matches leave three tables half played;
# the server stopped and started again takes all three back from their files.
"$bin/tarvelis-bots" --server "127.0.0.1:$port" --tables 3 --think 300 --json --timeout 2 || true
stop_server
files=$(find "$work/tables" -name '*.table' | wc -l)
[ "$files" -eq 3 ] || { echo "$files table files for three unfinished tables"; exit 1; }
start_server
grep -qx "tables resumed 3" "$work/server.out" || { echo "the restarted server did not resume its tables"; cat "$work/server.out"; exit 1; }
stop_server
echo "ok"
