#!/usr/bin/env bash
# The game ended from outside: a kill -9 at the user's turn keeps the match
# saved with the last move, and the dead copy's lock does not stop the next
# start; a second copy on the same data folder says so and
# ends, leaving the first to play on; SIGTERM saves and ends cleanly.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

# The match line of the settings file: "#TRUE#,#TRUE#" while a hand is in
# play, then the hand and the move numbers.
in_play() { sed -n 2p "$E2E_INI" | tr -d '\r' | awk -F, '{print $3 "," $4 "," $6}'; }

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"

e2e_start_match
[ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never came to move: '$(e2e_status)'"
move=$(e2e_field move)
kill -9 "$E2E_GPID"
wait "$E2E_GPID" 2>/dev/null || true
E2E_GPID=
[ "$(in_play)" = "#TRUE#,#TRUE#,$move" ] || e2e_fail "a kill lost the match: '$(in_play)', move $move"

# The match goes on at the next start.
: >"$TARVELIS_TEST_STATUS"
e2e_start_game
dialog=$(e2e_wait_window "Continuar la partida anterior" 20) || e2e_fail "the match was not resumed"
e2e_key "$dialog" Return
e2e_wait_status "^notice Jugador4 .* move $move seat 4$" 60 || e2e_fail "not where it stood: '$(e2e_status)'"

# A second copy on the same folder is refused and ends; the first plays on.
QT_QPA_PLATFORM=xcb "$E2E_DIR/tarvelis" >>"$E2E_DIR/stdout.log" 2>&1 &
second=$!
dialog=$(e2e_wait_window "TARVELIS ya está abierto" 20) || e2e_fail "a second copy started unsaid"
e2e_key "$dialog" Return
e2e_until 10 e2e_gone "$second" || e2e_fail "the second copy kept running"
kill -0 "$E2E_GPID" 2>/dev/null || e2e_fail "the first copy ended"

# SIGTERM (a logout, a shutdown) ends the game through its own exit.
kill -TERM "$E2E_GPID"
rc=0
e2e_until 10 e2e_gone "$E2E_GPID" || e2e_fail "SIGTERM did not end the game"
wait "$E2E_GPID" || rc=$?
E2E_GPID=
[ "$rc" = 0 ] || e2e_fail "SIGTERM ended the game with status $rc"
[ "$(in_play)" = "#TRUE#,#TRUE#,$move" ] || e2e_fail "SIGTERM lost the match: '$(in_play)'"
echo "PASS: kills, a second copy and SIGTERM keep the match"
