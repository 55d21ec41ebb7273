#!/usr/bin/env bash
# Friends at one loopback table, through the open game: a table of two people
# (seat 2 held by a silent helper, seat 4 kept for us); the game is open when
# a second start brings the invitation, which the open game asks about and
# joins while the second start ends quietly. Leaving keeps the seat's token,
# and the network window's "Volver a la mesa" takes the seat up again. Then
# the join page, given another table's code, lists its free seats before
# anybody sits. Everything stops by itself.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../../scripts/loopback-server.sh"
here=$(dirname "$0")
server_pid=""
sitter_pid=""
finish() {
  [ -n "$sitter_pid" ] && kill "$sitter_pid" 2>/dev/null
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  e2e_cleanup
}
trap finish EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"
start_loopback_server "$E2E_BUILD/src" "$E2E_DIR/tables" 240 "$E2E_DIR/server" ||
  e2e_fail "the server did not say where it listens"
wait_status() { e2e_wait_status "$1" "${2:-20}" || e2e_fail "waited for '$1': '$(e2e_status)'"; }
click() { xdotool mousemove 400 420; e2e_click "$1" "$2"; }
answer() {
  local dialog
  dialog=$(e2e_wait_window "$1" "${2:-10}") || e2e_fail "no '$1'"
  e2e_key "$dialog" Return
  e2e_wait_closed "$1" 5 "'$1' stayed up"
}
# The options menu's "Jugar en red" on an idle table, its fifth entry after
# loading, deleting and the two looks (the menu opened again when its entry
# was clicked before it was up). It opens the room, entered at once, where
# "Unirse con un código" opens the network window on its join page.
open_room() {
  for _ in 1 2 3; do
    xdotool mousemove 400 420
    e2e_move 300 150
    xdotool click 3
    sleep 0.4
    click 340 $((150 + 18 * 4 + 10))
    if id=$(e2e_wait_window "Jugar en red: la sala" 5); then echo "$id"; return 0; fi
  done
  return 1
}
open_network_window() {
  local room rx ry
  room=$(open_room) || return 1
  read -r rx ry < <(window_at "$room")
  # The server is entered at once when one is remembered; else it is typed.
  if ! e2e_wait_status "^room inside " 5; then
    click $((rx + 150)) $((ry + 43))
    xdotool key ctrl+a
    xdotool type --delay 20 "127.0.0.1:$port"
    click $((rx + 526)) $((ry + 43))
    e2e_wait_status "^room inside " 10 || return 1
  fi
  click $((rx + 526)) $((ry + 177))
  e2e_wait_window "Jugar en red" 5
}
window_at() {
  xdotool getwindowgeometry "$1" | awk '/Position/ {split($2, a, ","); print a[1], a[2]}'
}

code=$(python3 "$here/net_helper.py" create "$port" 4 50 2) || e2e_fail "no table created"
python3 "$here/net_helper.py" sit "$port" "$code" 2 200 &
sitter_pid=$!

e2e_start_game
e2e_wait_window "TARVELIS" 20 >/dev/null || e2e_fail "no table"
sleep 0.5
# What clicking an invitation does, with the game open on the same folder.
rc=0
QT_QPA_PLATFORM=xcb timeout 30 "$E2E_DIR/tarvelis" --join "127.0.0.1:$port" "$code" 4 Beatriz \
  >>"$E2E_DIR/second.log" 2>&1 || rc=$?
[ "$rc" = 0 ] || e2e_fail "the second start ended with $rc"
e2e_window_exists "TARVELIS ya está abierto" && e2e_fail "the second start only said the game was open"
wait_status "^network invitation $code 4$" 10
answer "Partida en red"
answer "Comienza la Partida" 20
grep -q "^Mesa=127.0.0.1:$port $code 4 " "$E2E_DIR/TARVRED.INI" || e2e_fail "the seat was not kept"

# Leaving asks, and keeps the way back.
e2e_click 770 28
answer "Partida en red"
for _ in $(seq 50); do
  grep -q "^net local match back" "$E2E_DIR/stdout.log" && break
  sleep 0.1
done
grep -q "^Mesa=127.0.0.1:$port $code 4 " "$E2E_DIR/TARVRED.INI" || e2e_fail "leaving forgot the seat"

# The room offers the way back, beside its status line.
room=$(open_room) || e2e_fail "no room"
read -r rx ry < <(window_at "$room")
wait_status "^room (outside|inside) " 10
click $((rx + 12 + 424 - 108)) $((ry + 441))
e2e_wait_closed "Jugar en red: la sala" 5 "'Volver a la mesa' did not close the room"
for _ in $(seq 200); do
  grep -q "^net link back" "$E2E_DIR/stdout.log" && break
  sleep 0.1
done
grep -q "^net link back" "$E2E_DIR/stdout.log" || e2e_fail "the seat left was not taken up again"
e2e_click 770 28
answer "Partida en red"
sleep 1

# The join page, given a table's code, shows its free seats before sitting.
code2=$(python3 "$here/net_helper.py" create "$port" 2 50 3) || e2e_fail "no second table"
window=$(open_network_window) || e2e_fail "no network window the second time"
read -r wx wy < <(window_at "$window")
click $((wx + 260)) $((wy + 46))
click $((wx + 200)) $((wy + 77))
xdotool key ctrl+a
xdotool type --delay 20 "127.0.0.1:$port"
click $((wx + 150)) $((wy + 103))
xdotool key ctrl+a
xdotool type --delay 20 "$(echo "$code2" | tr 'A-Z' 'a-z')"
wait_status "^network idle code - start 0 fault 0 free 23$" 10
sleep 0.3
import -window root "$E2E_ARTEFACTS/network-join.png"
# The window comes back as it was left: the join page, the code.
click $((wx + 320)) $((wy + 428))
e2e_wait_closed "Jugar en red" 5 "the window did not close"
grep -qx "Pagina=unirse"$'\r' "$E2E_DIR/TARVRED.INI" || e2e_fail "the page was not remembered"
grep -qix "Codigo=$code2"$'\r' "$E2E_DIR/TARVRED.INI" || e2e_fail "the code was not remembered"
window=$(open_network_window) || e2e_fail "no network window the third time"
wait_status "^network idle code - start 0 fault 0 free 23$" 10
e2e_key "$window" Escape
e2e_wait_closed "Jugar en red" 5 "the window did not close"
echo "PASS: an invitation joins the open game, a seat left is taken up again, a table's free seats are seen before sitting"
