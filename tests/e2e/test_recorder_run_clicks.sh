#!/usr/bin/env bash
# The recorder drops clicks the player made while it was busy. With real
# pointer clicks at the game's slowest speed: a quick burst of clicks on "one
# move forward" during a run back stops the run where it stands, and the
# burst's other clicks, made while the run still went, are dropped: the table
# stays where the run ended.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"

# The panel's controls on an 800 x 600 table.
switch_at=(767 536)
forward_at=(777 555)
run_back_at=(756 571)

# Played quickly to a turn of seat 4 with eleven moves or more on the table,
# then put off and taken up again at the slowest speed.
e2e_start_match
e2e_play_to_move 12 60
e2e_resume_slowest
live=$(e2e_field move)

e2e_click "${switch_at[@]}"
e2e_wait_status "^recorder move $live .* run 0$" 30 || e2e_fail "the recorder did not start: '$(e2e_status)'"

# The run back, and once it has gone two moves a burst of three clicks on
# forward, the whole burst inside one of its steps.
e2e_mark
e2e_click "${run_back_at[@]}"
e2e_wait_status "^recorder move $((live - 2)) .* run 1$" 20 ||
  e2e_fail "the run did not go back: '$(e2e_status)'"
e2e_move "${forward_at[@]}"
at_click=$(e2e_field move)
xdotool click --repeat 3 --delay 20 1
e2e_wait_status ' run 0$' 20 || e2e_fail "the run did not stop: '$(e2e_status)'"
stopped=$(e2e_field move)
[ "$stopped" -gt 1 ] || e2e_fail "the run went on to the lead: '$(e2e_status)'"
[ "$stopped" -le "$at_click" ] && [ "$stopped" -ge $((at_click - 1)) ] ||
  e2e_fail "the run stopped at $stopped, clicked at $at_click"
# Whatever was left of the burst has had its chance to act: the run's click
# and the burst's three are done with, the pointer moves, so that any release
# the window system still held is delivered, and a key that does nothing is
# dealt with after it.
e2e_settled 4 20 || e2e_fail "the burst's clicks were not all taken in"
e2e_move 400 300
e2e_key "$(e2e_wait_window TARVELIS 5)" shift
e2e_settled 1 || e2e_fail "a key after the burst was not taken in"
[[ "$(e2e_status)" =~ ^recorder\ move\ $stopped\ .*\ run\ 0$ ]] ||
  e2e_fail "clicks made during the run acted after it: '$(e2e_status)' (the run ended at $stopped)"
echo "the run ended at move $stopped (from $live), clicked at $at_click"

echo "PASS: a run stops where it stands and drops the clicks made during it"
