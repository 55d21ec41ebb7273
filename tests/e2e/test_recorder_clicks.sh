#!/usr/bin/env bash
# The recorder keeps up with the player: three clicks on "back" 0.3 to 0.8 s
# apart, made with the real pointer while each step's tile is still travelling
# at the game's slowest speed, step back three moves and no more.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"

# Played quickly to a turn of seat 4 with five moves or more on the table,
# then put off and taken up again at the slowest speed.
e2e_start_match
e2e_play_to_move 6 40
e2e_resume_slowest
move=$(e2e_field move)

e2e_click 767 536
e2e_wait_status "^recorder move $move " 10 || e2e_fail "the recorder did not start: '$(e2e_status)'"
e2e_move 756 555
e2e_mark
for gap in 0.3 0.5 0.8; do
  xdotool click 1
  # A player's pace between clicks, which lands them on a travelling tile:
  # the clicks' timing is what is tested, not a wait for the game.
  sleep "$gap"
done
e2e_wait_status "^recorder move $((move - 3)) " 20 ||
  e2e_fail "three clicks on back from move $move: '$(e2e_status)'"
e2e_settled 3 20 || e2e_fail "the three clicks were not all taken in"
[[ "$(e2e_status)" =~ ^recorder\ move\ $((move - 3))\  ]] || e2e_fail "more than three steps: '$(e2e_status)'"
echo "PASS: three quick clicks on back step back three moves"
