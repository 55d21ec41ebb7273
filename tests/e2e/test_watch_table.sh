#!/usr/bin/env bash
# A public table watched from the command line (--watch) against a loopback
# stand-in that replays a whole match as a watcher is sent it, with chat
# lines: the table says it is watched, every hand is drawn by its backs
# until it closes, the chat shows the table's lines and says ours, once the
# match is over PageUp puts its first hand back on the table (the steps over
# the line beside "Continuar" go to the next and back) for the
# recorder and the review "Analizar la mano", and leaving sends "leave" and brings the local
# match back. Everything stops by itself.
source "$(dirname "$0")/lib.sh"
here=$(dirname "$0")
server_pid=""
finish() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  e2e_cleanup
}
trap finish EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"
python3 "$here/watch_server.py" "$E2E_DIR/port" "$here/data/watched_match.jsonl" 150 0.1 \
  >"$E2E_DIR/server.log" 2>&1 &
server_pid=$!
e2e_until 10 test -s "$E2E_DIR/port" || e2e_fail "the stand-in did not say where it listens"
port=$(cat "$E2E_DIR/port")

QT_QPA_PLATFORM=xcb "$E2E_DIR/tarvelis" --watch "127.0.0.1:$port" WATCH23456 \
  >>"$E2E_DIR/stdout.log" 2>&1 &
E2E_GPID=$!
e2e_close_cover
table=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table"
e2e_wait_status "^net watching " 20 || e2e_fail "the table is not watched: '$(e2e_status)'"
e2e_wait_open "watched 1" 10 || e2e_fail "the open file does not say the table is watched"
logged() { grep -qF -- "$1" "$E2E_DIR/stdout.log"; }
# One step on, as a watcher goes: a notice's dialog answered, the continue
# button at a closed hand pressed; until the game has logged $1 (bounded).
advance_step() {
  logged "$1" && return 0
  if e2e_other_window; then
    xdotool key Return
  elif e2e_status_is "^notice "; then
    e2e_key "$table" space
  fi
  return 1
}
# A press every 0.3 s at most, as a watcher makes them, not at the poll's pace.
advance_until() { E2E_POLL_MS=300 e2e_until 45 advance_step "$1"; }
advance_until "net chat Ana: Ya veremos, Luis." || e2e_fail "the table's chat was not shown"

# Our own line: the chat's line to write, left of the bottom hand.
e2e_click 120 587
e2e_type "$table" "hola mesa"
xdotool key Return
said() { grep -qxF "say hola mesa" "$E2E_DIR/server.log"; }
e2e_until 10 said || e2e_fail "the chat line was not said to the table"
e2e_until 10 logged "net chat Mirón: hola mesa" || e2e_fail "the line said did not come back"
e2e_screenshot watched-table
# Escape gives the keys back to the table, where a key goes on.
xdotool key Escape

# On through the hands' ends and notices to the match's end.
advance_until "net match_end" || e2e_fail "the watched match did not end"
e2e_wait_status "^notice " 10 || e2e_fail "the finished match does not wait: '$(e2e_status)'"
e2e_key "$table" Prior
e2e_wait_status "^net kept hand 1 of 2" 10 || e2e_fail "no kept hand: '$(e2e_status)'"
# The steps over the line beside "Continuar" go from hand to hand too.
e2e_rested_screenshot watched-kept-steps
xdotool mousemove 400 420
e2e_click 718 479
e2e_wait_status "^net kept hand 2 of 2" 10 || e2e_fail "the step on did not go: '$(e2e_status)'"
e2e_click_fresh 694 479
e2e_wait_status "^net kept hand 1 of 2" 10 || e2e_fail "the step back did not go: '$(e2e_status)'"
# The first hand reviewed as at home: the recorder on, then the options
# menu, whose only entry at a networked table is "Analizar la mano".
click() { xdotool mousemove 400 420; e2e_click "$1" "$2"; }
click 767 536
e2e_wait_status "^recorder .* review none " 10 || e2e_fail "no recorder: '$(e2e_status)'"
xdotool mousemove 400 420
e2e_move 300 150
xdotool click 3
e2e_wait_open "menu 1" || e2e_fail "a right click opened no menu"
click 340 $((150 + 10))
e2e_wait_status "^recorder .* review done " 60 || e2e_fail "the kept hand was not reviewed"
e2e_screenshot watched-kept-hand
click 767 536
e2e_wait_status "^notice " 10 || e2e_fail "the recorder did not switch off: '$(e2e_status)'"

# Leaving: the question, "leave" to the server, the local match back.
e2e_click 770 28
dialog=$(e2e_wait_window "Partida en red" 10) || e2e_fail "leaving did not ask"
e2e_key "$dialog" Return
e2e_until 10 grep -qxF "leave" "$E2E_DIR/server.log" || e2e_fail "no leave was sent"
e2e_until 10 logged "net local match back" || e2e_fail "the local match did not come back"
e2e_wait_open "watched 0" 10 || e2e_fail "the local table still says it is watched"
echo "PASS"
