#!/usr/bin/env bash
# The expert chosen with the mouse: seats 1 and 3 and the tutor are ticked in
# the settings window; seat 4 plays by hand and leaves in the middle of the
# hand; the choice is kept in TARVEXP.INI; started again, the game resumes the
# hand with the experts at their seats and it is played to its end.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

TITLE="Personalizar la aplicación"
e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"

# Button 3 opens the settings window; the ticks sit under seats 1 and 3's
# panels, the tutor's above the rules button; the exit button closes it.
e2e_start_game
E2E_TABLE=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table"
e2e_click 114 28
win=$(e2e_wait_window "$TITLE" 20) || e2e_fail "button 3 opened no settings window"
read -r wx wy < <(xdotool getwindowgeometry "$win" | awk '/Position/ {split($2, a, ","); print a[1], a[2]}')
e2e_click_settled $((wx + 100)) $((wy + 313)) # seat 1
e2e_click_settled $((wx + 464)) $((wy + 313)) # seat 3
e2e_click_settled $((wx + 60)) $((wy + 399))  # the tutor
e2e_screenshot expert-settings
e2e_click $((wx + 526)) $((wy + 427))
e2e_wait_closed "$TITLE" 10 "the exit button left the window open"
e2e_key "$E2E_TABLE" space

# Two turns of seat 4 against the experts, then leave in the middle of the hand.
for turn in 1 2; do
  [ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got turn $turn"
  e2e_play_my_turn "$(e2e_status)"
done
[ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got its third turn"
waiting=$(e2e_status)
e2e_leave
choice=$(tr -d '\r' <"$E2E_DIR/TARVEXP.INI" | tr '\n' ' ')
[ "$choice" = "Experto=1,0,1,0 Tutor=1 " ] || e2e_fail "the choice was kept as '$choice'"
grep -q '#TRUE#,#TRUE#' "$E2E_INI" || e2e_fail "the hand in progress was not saved"

# Resumed, the hand waits for seat 4 where it was left and is played out.
rm -f "$TARVELIS_TEST_STATUS"
e2e_start_game
dialog=$(e2e_wait_window "Continuar la partida anterior" 20) || e2e_fail "no resumed hand"
e2e_key "$dialog" Return
[ "$(e2e_advance)" = turn ] || e2e_fail "the resumed hand did not wait for seat 4"
[ "$(e2e_status)" = "$waiting" ] || e2e_fail "resumed at '$(e2e_status)', left at '$waiting'"
for turn in $(seq 12); do
  e2e_play_my_turn "$(e2e_status)"
  next=$(e2e_advance)
  [ "$next" = turn ] || break
done
[ "$next" = end ] || e2e_fail "the hand did not end after seat 4's turn $turn ($next)"
e2e_screenshot expert-hand-end
echo "expert seat: chosen, kept, resumed and played"
