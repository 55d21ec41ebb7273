#!/usr/bin/env bash
# A double click on the continue button while an automatic seat's notice is
# up: the first click lets that seat move; the second came while the table
# was busy with that move and must not dismiss the next notice, the manual
# seat's own turn, which would let the computer play the user's tile.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT
# Seed 1: seat 3 holds the double six, so its lead is the first notice.
export TARVELIS_TEST_SEED=1

e2e_start_x 800x600x24
e2e_fresh_folder
# A pause before every move, no sound, full speed: seat 3's move is over
# and seat 4's notice up before the second click of a double click comes.
# Seat 4 is by hand.
e2e_first_start 'NR == 1 { $9 = 1; $12 = 2 } NR == 2 { $2 = 100 }'

e2e_start_match
dialog=$(e2e_wait_window "Comienza la Partida" 20) || e2e_fail "no match started"
e2e_key "$dialog" Return

# Single clicks on the continue button until seat 3's notice is up (seat 4
# is passed on with its own button too: the computer plays for it then).
continue_x=688
continue_y=550
for _ in $(seq 12); do
  e2e_wait_status '^notice .* seat [1-4]$' 60 || e2e_fail "no notice: '$(e2e_status)'"
  [[ "$(e2e_status)" =~ seat\ 3$ ]] && break
  before=$(e2e_status)
  e2e_click $continue_x $continue_y
  e2e_until 60 e2e_status_left "$before" || e2e_fail "the continue button did nothing: '$before'"
done
[[ "$(e2e_status)" =~ ^notice\ Jugador3\ .*seat\ 3$ ]] || e2e_fail "seat 3 never waited: '$(e2e_status)'"
at_three=$(e2e_status)

e2e_move $continue_x $continue_y
e2e_mark
xdotool click --repeat 2 --delay 150 1
e2e_until 60 e2e_status_left "$at_three" || true
waiting=$(e2e_status)
[ "$waiting" != "$at_three" ] || e2e_fail "seat 3 did not move"
[[ "$waiting" =~ ^notice\ Jugador4\ .*seat\ 4$ ]] ||
  e2e_fail "the manual seat's turn was played: '$waiting'"
# Whatever was left of the double click has been dealt with (taken or thrown
# away): both presses.
e2e_settled 2 20 || e2e_fail "the double click was not all taken in"
[ "$(e2e_status)" = "$waiting" ] || e2e_fail "the manual seat's turn was played: '$(e2e_status)'"
echo "PASS: a double click never plays the manual seat's turn"
