#!/usr/bin/env bash
# The room of a server, with the real mouse and keyboard, against a stand-in
# on a free loopback port that answers as a room does: "Jugar en red" opens
# the room, Enter in the server's field enters it with the player's key (made
# on the spot, 0600, and sent in `enter` only), the public tables, people and
# chat are shown, a chat line goes and comes back, the chat scrolls back under
# the wheel and holds its lines while more arrive, Tab reaches a drawn button
# and Space presses it, a free chair is taken, the offer to fill the table
# appears and is taken, and Escape leaves the table and the room. The
# stand-in stops by itself.
source "$(dirname "$0")/lib.sh"
standin_pid=""
finish() {
  [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null
  e2e_cleanup
}
trap finish EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"

python3 "$(dirname "$0")/room_standin.py" "$E2E_DIR/room.log" 120 >"$E2E_DIR/standin.out" &
standin_pid=$!
listening() { grep -q '^listening' "$E2E_DIR/standin.out" 2>/dev/null; }
e2e_until 10 listening || e2e_fail "the stand-in did not say where it listens"
port=$(sed -n 's/^listening 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$E2E_DIR/standin.out")

wait_status() { e2e_wait_status "$1" "${2:-20}" || e2e_fail "waited for '$1': '$(e2e_status)'"; }
click() { xdotool mousemove 400 420; e2e_click "$1" "$2"; }

e2e_start_match
[ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got its turn"
open_room() {
  for _ in 1 2 3; do
    xdotool mousemove 400 420
    e2e_move 300 150
    xdotool click 3
    e2e_wait_open "menu 1" 5 || continue
    click 340 $((150 + 18 * 5 + 10))
    if id=$(e2e_wait_window "Jugar en red: la sala" 5); then echo "$id"; return 0; fi
  done
  return 1
}
window=$(open_room) || e2e_fail "no room window"
read -r wx wy < <(xdotool getwindowgeometry "$window" |
  awk '/Position/ {split($2, a, ","); print a[1], a[2]}')

# The server's field has the keyboard; Enter there enters the room.
e2e_type "$window" "127.0.0.1:$port"
e2e_key "$window" Return
wait_status "^room inside tables 3 people 5 chat 3 from 0 people-from 0 focus list fill 0 seated 0$" 10
import -window root "$E2E_ARTEFACTS/room-window.png"

key_file="$E2E_DIR/TARVRED.KEY"
[ "$(stat -c %a "$key_file")" = 600 ] || e2e_fail "the key is readable by others"
grep -qxE '[0-9a-f]{64}' "$key_file" || e2e_fail "the key is not 64 hex digits"
grep -q "\"key\": *\"$(cat "$key_file")\"" "$E2E_DIR/room.log" || e2e_fail "enter did not carry the key"

# A chat line: typed in its field (Tab from the name), sent with Enter, echoed.
click $((wx + 200)) $((wy + 412))
e2e_type "$window" "hola a todos"
e2e_key "$window" Return
wait_status "^room inside tables 3 people 5 chat 4 " 10

# More lines than the chat shows (seven): it follows the newest.
for n in 1 2 3 4 5; do
  e2e_type "$window" "linea $n"
  e2e_key "$window" Return
  wait_status "^room inside tables 3 people 5 chat $((4 + n)) " 10
done
wait_status " chat 9 from 2 " 5
# A notch of the wheel over the chat goes back to its first line, which stays
# while another line arrives; down to the bottom it follows again.
xdotool mousemove $((wx + 200)) $((wy + 340))
xdotool click 4
wait_status " chat 9 from 0 " 5
e2e_type "$window" "una mas"
e2e_key "$window" Return
wait_status " chat 10 from 0 " 10

# Tab from the chat's field round to a drawn button: "Jugar ya" wears the
# keyboard's ring (the picture), "Clasificación" is pressed with Space.
tab_to() {
  for _ in $(seq 1 20); do
    [ "$(e2e_field focus)" = "$1" ] && return 0
    before=$(e2e_status)
    e2e_key "$window" Tab
    e2e_until 2 e2e_status_left "$before" || true
  done
  [ "$(e2e_field focus)" = "$1" ]
}
tab_to quick || e2e_fail "Tab never reached Jugar ya: '$(e2e_status)'"
e2e_rested_screenshot room-window-keyboard
tab_to board || e2e_fail "Tab never reached Clasificación: '$(e2e_status)'"
e2e_key "$window" space
e2e_until 5 grep -q '"type": *"leaderboard"' "$E2E_DIR/room.log" || e2e_fail "Space did not press"
e2e_key "$window" space
xdotool mousemove $((wx + 200)) $((wy + 340))
xdotool click 5
wait_status " chat 10 from 3 " 5

# The second chair of the first table is free: chosen with a click (the list
# then has the keyboard), taken with Enter.
click $((wx + 12 + 5 + 103 + 50)) $((wy + 78 + 30))
e2e_key "$window" Return
wait_status "^room inside .* fill 1 seated 2$" 10
import -window root "$E2E_ARTEFACTS/room-window-seated.png"
click $((wx + 12 + 424 - 108)) $((wy + 441))
e2e_until 5 grep -q '"type": *"fill"' "$E2E_DIR/room.log" || e2e_fail "fill was not sent"

e2e_key "$window" Escape
e2e_wait_closed "Jugar en red: la sala" 5 "Escape left the room open"
e2e_until 5 grep -q '"type": *"leave_room"' "$E2E_DIR/room.log" || e2e_fail "the room was not left"
# The key goes to a server in `enter` and nowhere else.
[ "$(grep -c "$(cat "$key_file")" "$E2E_DIR/room.log")" = 1 ] || e2e_fail "the key went out again"

# Back in the room (entered at once: the server is remembered), "Crear una
# mesa" opens the create page, which on a server with a room offers a public
# table: checked, the room's `enter` goes first and `create` says so.
window=$(open_room) || e2e_fail "no room window the second time"
read -r wx wy < <(xdotool getwindowgeometry "$window" |
  awk '/Position/ {split($2, a, ","); print a[1], a[2]}')
wait_status "^room inside tables 3 " 10
click $((wx + 526)) $((wy + 151))
page=$(e2e_wait_window "Jugar en red" 10) || e2e_fail "no create page"
read -r px py < <(xdotool getwindowgeometry "$page" |
  awk '/Position/ {split($2, a, ","); print a[1], a[2]}')
wait_status "^network idle " 10
click $((px + 380)) $((py + 129))
e2e_rested_screenshot room-create-public
click $((px + 200)) $((py + 428))
e2e_until 5 grep -q '"public": *true' "$E2E_DIR/room.log" || e2e_fail "the table was not asked public"
[ "$(grep -c "$(cat "$key_file")" "$E2E_DIR/room.log")" = 3 ] || e2e_fail "enter did not go first"
e2e_key "$page" Escape
e2e_wait_closed "Jugar en red" 5 "Escape left the create page open"

# A table that ends above the chosen one moves its row, never the choice: the
# last table's free chair, chosen, is the one taken (Alt+S from the chat's
# field) once the started table above it is gone.
window=$(open_room) || e2e_fail "no room window the third time"
read -r wx wy < <(xdotool getwindowgeometry "$window" |
  awk '/Position/ {split($2, a, ","); print a[1], a[2]}')
wait_status "^room inside tables 3 " 10
click $((wx + 12 + 5 + 50)) $((wy + 78 + 2 * 46 + 30))
click $((wx + 200)) $((wy + 412))
e2e_type "$window" "fin de la mesa empezada"
e2e_key "$window" Return
wait_status "^room inside tables 2 " 10
e2e_key "$window" alt+s
e2e_until 5 grep -q '"code": *"R5D8VQ2JPE"' "$E2E_DIR/room.log" ||
  e2e_fail "the chair was not taken at the chosen table"
wait_status "^room inside .* seated 1$" 10
e2e_key "$window" Escape
e2e_wait_closed "Jugar en red: la sala" 5 "Escape left the room open"
e2e_leave

echo "PASS: the room is entered with the player's key, shows its tables and takes a chair"
