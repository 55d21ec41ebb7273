#!/usr/bin/env bash
# A rated match met in the room of a real loopback tarvelis-server. The game
# enters the room with the real mouse; a scripted player (room_people.py)
# enters too and makes a public table of two person's chairs and two computer
# seats, which the room shows; a scripted watcher watches it; the game's
# "Jugar ya" seats it at the free chair and the match starts by itself. The
# player's chat line reaches the game and the watcher, who never hears a
# seat's tile before its hand closes. The match is played to its end (the
# game's seat with clicks), both people are rated, and a server started again
# on the same folder tells the same ratings. Everything stops by itself.
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"
# The quick seat finds a table of the game's own rules: a match to 1 point,
# as the player's table is.
# shellcheck disable=SC2016 # an awk program, not the shell's
e2e_set_ini 'NR == 2 { $1 = 1 }'
people="$E2E_DIR/people"
mkdir -p "$people"

# shellcheck source=../../scripts/loopback-server.sh
source "$here/../../scripts/loopback-server.sh"
serve() {
  start_loopback_server "$E2E_BUILD/src" "$E2E_DIR/tables" 150 "$E2E_DIR/server$1" \
    --fill-seconds 2 || e2e_fail "the server did not say where it listens"
  E2E_BESIDE+=("$server_pid")
}
serve 1

e2e_start_game
e2e_wait_window "TARVELIS" 20 >/dev/null || e2e_fail "no table"
# On an idle table "Jugar en red" is the options menu's fifth entry.
room=$(e2e_open_room 4) || e2e_fail "no room window"
read -r rx ry < <(e2e_window_at "$room")
e2e_expect_status "^room outside " 10
e2e_click_fresh $((rx + 369)) $((ry + 43))
xdotool key ctrl+a
xdotool type --delay 20 "Lucia"
e2e_click_fresh $((rx + 150)) $((ry + 43))
xdotool key ctrl+a
xdotool type --delay 20 "127.0.0.1:$port"
e2e_click_fresh $((rx + 526)) $((ry + 43))
e2e_expect_status "^room inside tables 0 " 10

python3 "$here/room_people.py" player "$port" "$people" 120 >"$people/player.out" 2>&1 &
e2e_beside
e2e_expect_status "^room inside tables 1 .* seated 0$" 15
e2e_rested_screenshot room-public-table
python3 "$here/room_people.py" watcher "$port" "$people" 120 >"$people/watcher.out" 2>&1 &
e2e_beside
e2e_until 10 test -s "$people/watching" || e2e_fail "the watcher is not watching"

# "Jugar ya", the right column's first button: the server seats the game at
# the table's free chair, and the match starts.
e2e_click_fresh $((rx + 526)) $((ry + 73))
e2e_wait_closed "Jugar en red: la sala" 10 "'Jugar ya' left the room open"

# One look at the game: its messages closed, its turn played, the continue
# button pressed once at each hand's end. True once the match is over.
turns=0
play_step() {
  local status
  e2e_answer "Comienza la Partida" "C i e r r e" "Final de este juego" "Final de Partida" \
    "Jugador con cinco dobles" || true
  e2e_logged "^net match_end" && return 0
  status=$(e2e_status)
  case "$status" in
    "notice Lucia "*)
      turns=$((turns + 1))
      e2e_play_my_turn "$status" ;;
    "notice Continuar "*)
      [ "$status" != "${continued:-}" ] && e2e_click 688 550
      continued=$status ;;
  esac
  return 1
}
e2e_until 90 play_step || e2e_fail "the match did not end: '$(e2e_status)'"
e2e_rested_screenshot room-match-over
# Said as the match began, while the game's first message was up; the name
# comes with the tag the room gives it.
e2e_expect_logged "^net chat Pablo: suerte a todos$" 1 10 "the player's chat line did not reach the game"
e2e_until 20 test -s "$people/page.json" || e2e_fail "the match was not rated: $(cat "$people/player.out")"
python3 "$here/room_people.py" check "$people" || e2e_fail "the watcher saw what it must not"

# Both people rated, away from 1500.
board() { python3 "$here/room_people.py" board "$1"; }
ratings=$(board "$people/board.json")
[[ $ratings =~ ^Lucia=[0-9]+\ Pablo=[0-9]+$ ]] || e2e_fail "the leaderboard lists '$ratings'"
[[ $ratings =~ =1500( |$) ]] && e2e_fail "a rating did not move: '$ratings'"
own=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["rating"])' "$people/page.json")
[[ $ratings == *"Pablo=$own"* ]] || e2e_fail "the player's page says $own, the leaderboard '$ratings'"

# The server stopped and started again on the same folder tells the same.
# (It stops by itself after its span at the latest, so the wait is bounded.)
kill "$server_pid"
wait "$server_pid" 2>/dev/null || true
serve 2
timeout 30 python3 "$here/room_people.py" ratings "$port" "$people" again ||
  e2e_fail "no ratings from the server started again"
again=$(board "$people/again.json")
[ "$again" = "$ratings own=$own" ] ||
  e2e_fail "the ratings were '$ratings own=$own', after the restart '$again'"
echo "PASS: $turns turns of the game's seat; rated $ratings, the same after a restart"
