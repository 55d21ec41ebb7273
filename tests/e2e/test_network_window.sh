#!/usr/bin/env bash
# "Jugar en red" with the real mouse: a server on a free loopback port, the
# room opened from the options menu, a first address where nobody listens
# (the room says so and stays usable), then the server's, whose room is
# entered; its "Crear una mesa" opens the network window on the server typed,
# where a table of one person (seat 4) and three computer seats is created,
# its code shown, and
# "Empezar" starts the match: the window closes and hands the table over with
# the message that started it still unread. All this over a local match
# waiting for seat 4, which must wait for it again, as it was, once the
# networked match is left. The server stops by itself.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"
e2e_start_server 120

e2e_start_match
[ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got its turn"
waiting=$(e2e_status)
ini_before=$(md5sum <"$E2E_INI")
# A hand in play: the menu lists saving, loading, deleting, the two looks,
# then "Jugar en red".
room=$(e2e_open_room 5) || e2e_fail "no room window"
read -r rx ry < <(e2e_window_at "$room")

type_server() {
  e2e_click_fresh $((rx + 150)) $((ry + 43))
  xdotool key ctrl+a
  xdotool type --delay 20 "$1"
}
# Port 1 of the loopback: refused at once; "Entrar" stays usable.
type_server "127.0.0.1:1"
e2e_click_fresh $((rx + 526)) $((ry + 43))
e2e_expect_status "^room outside " 10
e2e_window_exists "Jugar en red: la sala" || e2e_fail "the room closed on a fault"

# The server's room is entered; its pages are offered from there.
type_server "127.0.0.1:$port"
e2e_click_fresh $((rx + 526)) $((ry + 43))
e2e_expect_status "^room inside " 10
e2e_click_fresh $((rx + 526)) $((ry + 151))
window=$(e2e_wait_window "Jugar en red" 10) || e2e_fail "no network window"
read -r wx wy < <(e2e_window_at "$window")
e2e_expect_status "^network idle " 10
e2e_click_fresh $((wx + 200)) $((wy + 428))
e2e_expect_status "^network seated code [A-Z2-9]{10} start 1 " 10
e2e_rested_screenshot network-window
grep -qx "Servidor=127.0.0.1:$port"$'\r' "$E2E_DIR/TARVRED.INI" || e2e_fail "the address was not kept"

e2e_click_fresh $((wx + 200)) $((wy + 428))
e2e_wait_closed "Jugar en red" 5 "the window stayed open once the match started"
# The match is on the table: its first notice says who leads.
dialog=$(e2e_wait_window "Comienza la Partida" 10) || e2e_fail "the networked match did not start"
e2e_key "$dialog" Return
e2e_expect_status "^(net waiting|notice Jugador4) hand 1 " 10
# The seat is kept for a return until the match is left.
grep -q "^Mesa=127.0.0.1:$port [A-Z2-9]\{10\} 4 " "$E2E_DIR/TARVRED.INI" || e2e_fail "the seat was not kept"
# Leaving the networked match asks; then the local hand waits where it did,
# and is put off as it was.
e2e_click 770 28
dialog=$(e2e_wait_window "Partida en red" 10) || e2e_fail "leaving the networked match did not ask"
e2e_key "$dialog" Return
e2e_wait_closed "Partida en red" 5 "the question stayed up"
# The seat is kept for a return until the match ends, and the local hand
# comes back (the networked hand may have waited at a status that reads like
# the local one, so the game's word that it is back is waited for first).
e2e_expect_logged "^net local match back" 1 5 "the local match did not come back"
grep -q "^Mesa=127.0.0.1:$port [A-Z2-9]\{10\} 4 " "$E2E_DIR/TARVRED.INI" || e2e_fail "the seat left was forgotten"
e2e_wait_status "^$waiting\$" 10 || e2e_fail "the local hand came back at '$(e2e_status)', not '$waiting'"
e2e_leave
[ "$(md5sum <"$E2E_INI")" = "$ini_before" ] || e2e_fail "the local match was not saved as it was"

echo "PASS: a table created on a server from the network window starts its match"
