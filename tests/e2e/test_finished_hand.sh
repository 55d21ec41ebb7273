#!/usr/bin/env bash
# A finished hand, with "Continuar" up, is looked back through with the real
# mouse: the recorder's switch, two steps back, the red button refused;
# switched off, the hand's end is back and the next deal follows.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
# Every seat automatic, no pause, no sound, full speed; a far target.
e2e_first_start 'NR == 1 { $9 = 2; $12 = 2; $20 = 1 } NR == 2 { $1 = 500; $2 = 100 }'

# Answers the messages until the table waits at "Continuar" after hand $1.
to_hand_end() { e2e_play_to_hand_end "$1" 90; }

e2e_start_match
to_hand_end '[0-9]+'
# A tied hand played again keeps its number.
hand=$(e2e_field hand)
# The hand's end counts its last move as the current one; the recorder stands
# after it.
live=$(($(e2e_field move) + 1))

e2e_click_fresh 767 536
e2e_expect_status "^recorder move $live live $live "
e2e_click_fresh 756 555
e2e_expect_status "^recorder move $((live - 1)) "
e2e_click_fresh 756 555
e2e_expect_status "^recorder move $((live - 2)) "
# The red button does not play a finished hand on.
e2e_mark
e2e_click_fresh 767 588
e2e_settled 1 || e2e_fail "the click on the red button was not taken in"
[[ "$(e2e_status)" =~ ^recorder\ move\ $((live - 2))\  ]] || e2e_fail "the red button acted: '$(e2e_status)'"
e2e_click_fresh 767 536
e2e_expect_status "^notice Continuar hand $hand move $((live - 1)) " 20
e2e_click_fresh 688 550
to_hand_end $((hand + 1))
echo "PASS: a finished hand is stepped through before the next deal"
