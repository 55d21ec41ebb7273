#!/usr/bin/env bash
# A loopback tarvelis-server against hostile clients (hostile_clients.py,
# hostile_port.py): floods that never read, unmasked frames and ping floods,
# a flood of the page, a create flood, hundreds of idle connections, guessed
# codes and secrets, the tables' folder taken away and given back, all from
# 127.0.0.2, while an honest client at 127.0.0.3 (honest_player.py) gets the
# page promptly and plays its table with its moves answered within 50 ms of
# the server's own time (a move may be later only by what the machine's
# scheduling alone adds, and none by a second) and the server's memory under
# its bound. The server is then killed with -9: the honest table is on disk,
# private, past every hand whose tiles were shown, and the flooders' tables
# are gone. Also: options out of bounds, an unwritable folder and a damaged
# table file. Everything stops by itself within two minutes.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/loopback-server.sh"
bin="$1"
work=$(mktemp -d "$bin/hostile-test.XXXXXX")
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
die() { echo "$*"; exit 1; }

# Options out of their bounds are refused, not wrapped around.
for bad in "--move-seconds 3000000" "--absent-seconds -1" "--max-tables 0" \
  "--tables-per-minute 99999999999" "--idle-seconds 0"; do
  status=0
  # shellcheck disable=SC2086
  timeout 10 "$bin/tarvelis-server" --listen 127.0.0.1:0 --data "$work/unused" --stop-after 1 $bad \
    >/dev/null 2>&1 || status=$?
  [ "$status" -eq 2 ] || die "tarvelis-server $bad: status $status, not refused"
done

# A folder it cannot write: the server says so and does not start.
echo "a file" >"$work/plain"
status=0
timeout 10 "$bin/tarvelis-server" --listen 127.0.0.1:0 --data "$work/plain/tables" --stop-after 1 \
  >/dev/null 2>"$work/unwritable.err" || status=$?
[ "$status" -eq 1 ] || die "an unwritable folder: status $status"
grep -q "cannot" "$work/unwritable.err" || die "an unwritable folder: no reason given"

# A damaged table file is logged and moved aside.
mkdir -p "$work/tables"
printf 'TARVELIS-TABLE 1\ncode ABCDEFGHJK\nstarted 7\n' >"$work/tables/ABCDEFGHJK.table"
mkdir -p "$work/page"
echo '<!doctype html><title>TARVELIS</title>' >"$work/page/index.html"
limits=(--connections-per-address 40 --tables-per-minute 10 --lookups-per-minute 10
  --idle-seconds 3 --unstarted-seconds 6 --log-seconds 2 --page "$work/page"
  --page-connections-per-address 8 --page-requests-per-minute 60)
start_loopback_server "$bin" "$work/tables" 110 "$work/server" "${limits[@]}" ||
  die "the server did not say where it listens: $(cat "$work/server.err")"
grep -q "damaged table file ABCDEFGHJK.table" "$work/server.err" || die "the damaged file was not logged"
[ -f "$work/tables/damaged/ABCDEFGHJK.table" ] || die "the damaged file was not moved aside"

python3 "$here/hostile_clients.py" "$port" "$server_pid" "$work/tables" attack >"$work/attack.json" ||
  { cat "$work/attack.json"; tail -5 "$work/server.out"; die "the attack phase failed"; }
cat "$work/attack.json"
tail -1 "$work/server.out"

kill -9 "$server_pid" 2>/dev/null
wait "$server_pid" 2>/dev/null || true
server_pid=""
[ "$(stat -c %a "$work/tables")" = 700 ] || die "the tables' folder is not private"
read -r -a checks < <(python3 -c '
import json, sys
r = json.load(open(sys.argv[1]))
print(" ".join("%s:%s" % kv for kv in r["tables"].items()), "|", " ".join(r["flood_codes"]), "|",
      r["last_closed"], r["repeated"])' "$work/attack.json")
honest=() flood=() i=0
while [ "${checks[$i]}" != "|" ]; do honest+=("${checks[$i]}"); i=$((i + 1)); done
i=$((i + 1))
while [ "${checks[$i]}" != "|" ]; do flood+=("${checks[$i]}"); i=$((i + 1)); done
last_closed=${checks[$((i + 1))]} repeated=${checks[$((i + 2))]}
[ "${#honest[@]}" -ge 1 ] || die "no honest table was playing"
for entry in "${honest[@]}"; do
  file="$work/tables/${entry%%:*}.table"
  [ -f "$file" ] || die "the started table ${entry%%:*} is not on disk"
  [ "$(stat -c %a "$file")" = 600 ] || die "$file is readable by others"
done
for code in "${flood[@]}"; do
  [ ! -e "$work/tables/$code.table" ] || die "the flooder's table $code is still on disk"
done

# Back from the kill, the honest table is past every hand it was shown.
start_loopback_server "$bin" "$work/tables" 20 "$work/again" "${limits[@]}" ||
  die "the server did not start again: $(cat "$work/again.err")"
entry=${honest[-1]}
python3 "$here/hostile_clients.py" "$port" "$server_pid" "$work/tables" resume \
  "${entry%%:*}" "${entry#*:}" "$last_closed" "$repeated" || die "the table did not resume past its shown hand"
stop_server() { kill "$server_pid"; wait "$server_pid" || true; server_pid=""; }
stop_server

# With 200 descriptors, a crowd of connections leaves the tables' files theirs.
rm -rf "$work/tables"
(
  ulimit -n 200
  start_loopback_server "$bin" "$work/tables" 30 "$work/crowd" --connections-per-address 1000 \
    --reserve-files 64 || die "the server did not start with 200 descriptors"
  echo "$server_pid" >"$work/crowd.pid"
  echo "$port" >"$work/crowd.port"
)
server_pid=$(cat "$work/crowd.pid")
port=$(cat "$work/crowd.port")
python3 "$here/hostile_clients.py" "$port" "$server_pid" "$work/tables" crowd 300 >"$work/crowd.json" ||
  { cat "$work/crowd.json"; die "the crowd phase failed"; }
sleep 0.5
grep -q "cannot write" "$work/crowd.err" && die "a table file was not written for want of a descriptor"
code=$(python3 -c 'import json,sys; print(next(iter(json.load(open(sys.argv[1]))["tables"])))' "$work/crowd.json")
[ -f "$work/tables/$code.table" ] || die "the crowded table is not on disk"
grep -q "^connections at most 104$" "$work/crowd.out" || die "the descriptors in reserve were not kept: $(cat "$work/crowd.out")"
echo "ok"
