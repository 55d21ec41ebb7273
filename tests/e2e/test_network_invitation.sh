#!/usr/bin/env bash
# Friends at one loopback table, through the open game: a table of two people
# (seat 2 held by a silent helper, seat 4 kept for us); the game is open when
# a second start brings the invitation, which the open game asks about and
# joins while the second start ends quietly. Leaving keeps the seat's token,
# and the network window's "Volver a la mesa" takes the seat up again. Then
# the join page, given another table's code, lists its free seats before
# anybody sits. Everything stops by itself.
source "$(dirname "$0")/lib.sh"
here=$(dirname "$0")
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"
e2e_start_server 240
answer() {
  local dialog
  dialog=$(e2e_wait_window "$1" "${2:-10}") || e2e_fail "no '$1'"
  e2e_key "$dialog" Return
  e2e_wait_closed "$1" 5 "'$1' stayed up"
}
# The options menu's "Jugar en red" on an idle table, its fifth entry after
# loading, deleting and the two looks. It opens the room, entered at once, where
# "Unirse con un código" opens the network window on its join page.
open_network_window() { e2e_open_network_window 4 join; }

code=$(python3 "$here/net_helper.py" create "$port" 4 50 2) || e2e_fail "no table created"
python3 "$here/net_helper.py" sit "$port" "$code" 2 200 &
e2e_beside

e2e_start_game
e2e_wait_window "TARVELIS" 20 >/dev/null || e2e_fail "no table"
# What clicking an invitation does, with the game open on the same folder.
rc=0
QT_QPA_PLATFORM=xcb timeout 30 "$E2E_DIR/tarvelis" --join "127.0.0.1:$port" "$code" 4 Beatriz \
  >>"$E2E_DIR/second.log" 2>&1 || rc=$?
[ "$rc" = 0 ] || e2e_fail "the second start ended with $rc"
e2e_window_exists "TARVELIS ya está abierto" && e2e_fail "the second start only said the game was open"
e2e_expect_status "^network invitation $code 4$" 10
answer "Partida en red"
answer "Comienza la Partida" 20
grep -q "^Mesa=127.0.0.1:$port $code 4 " "$E2E_DIR/TARVRED.INI" || e2e_fail "the seat was not kept"

# Leaving asks, and keeps the way back.
e2e_click 770 28
answer "Partida en red"
e2e_until 5 e2e_logged "^net local match back" || true
grep -q "^Mesa=127.0.0.1:$port $code 4 " "$E2E_DIR/TARVRED.INI" || e2e_fail "leaving forgot the seat"

# The room offers the way back, beside its status line.
room=$(e2e_open_room 4) || e2e_fail "no room"
read -r rx ry < <(e2e_window_at "$room")
e2e_expect_status "^room (outside|inside) " 10
e2e_click_fresh $((rx + 12 + 424 - 108)) $((ry + 441))
e2e_wait_closed "Jugar en red: la sala" 5 "'Volver a la mesa' did not close the room"
e2e_expect_logged "^net link back" 1 20 "the seat left was not taken up again"
e2e_click 770 28
answer "Partida en red"
# Left a second time: the local table is back, still.
e2e_expect_logged "^net local match back" 2 10 "the local table did not come back"

# The join page, given a table's code, shows its free seats before sitting.
code2=$(python3 "$here/net_helper.py" create "$port" 2 50 3) || e2e_fail "no second table"
window=$(open_network_window) || e2e_fail "no network window the second time"
read -r wx wy < <(e2e_window_at "$window")
e2e_click_fresh $((wx + 260)) $((wy + 46))
e2e_click_fresh $((wx + 200)) $((wy + 77))
xdotool key ctrl+a
xdotool type --delay 20 "127.0.0.1:$port"
e2e_click_fresh $((wx + 150)) $((wy + 103))
xdotool key ctrl+a
xdotool type --delay 20 "$(echo "$code2" | tr 'A-Z' 'a-z')"
e2e_expect_status "^network idle code - start 0 fault 0 free 23$" 10
e2e_rested_screenshot network-join
# The window comes back as it was left: the join page, the code.
e2e_click_fresh $((wx + 320)) $((wy + 428))
e2e_wait_closed "Jugar en red" 5 "the window did not close"
grep -qx "Pagina=unirse"$'\r' "$E2E_DIR/TARVRED.INI" || e2e_fail "the page was not remembered"
grep -qix "Codigo=$code2"$'\r' "$E2E_DIR/TARVRED.INI" || e2e_fail "the code was not remembered"
window=$(open_network_window) || e2e_fail "no network window the third time"
e2e_expect_status "^network idle code - start 0 fault 0 free 23$" 10
e2e_key "$window" Escape
e2e_wait_closed "Jugar en red" 5 "the window did not close"
echo "PASS: an invitation joins the open game, a seat left is taken up again, a table's free seats are seen before sitting"
