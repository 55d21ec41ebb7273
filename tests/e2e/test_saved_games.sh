#!/usr/bin/env bash
# Saved games on the real table: the game in play is saved under a name from
# the options menu, play goes on, the saved game is loaded back and play
# restarts at the saved position with the same seat to move. Then the manual
# opens with F1.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"

# Opens the options menu away from the hands and picks its entry $1 (1 save,
# 2 load, 3 delete); waits for the dialog titled $2 and prints its id.
menu_entry() {
  local entry=$1 title=$2 id
  for _ in 1 2 3; do
    xdotool mousemove --sync 300 300 click 3
    sleep 0.4
    e2e_click 360 $((300 + 18 * (entry - 1) + 12))
    if id=$(e2e_wait_window "$title" 5); then echo "$id"; return 0; fi
  done
  return 1
}

e2e_start_match

# Two turns of seat 4, then save at its third.
for turn in 1 2; do
  [ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got turn $turn"
  e2e_play_my_turn "$(e2e_status)"
done
[ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got its third turn"
saved=$(e2e_status)
dialog=$(menu_entry 1 "Archivar el juego actual") || e2e_fail "no save dialog from the options menu"
sleep 0.3
xdotool type --delay 30 "Prueba"
e2e_key "$dialog" Return
e2e_wait_closed "Archivar el juego actual" 5 "the save dialog stayed open"
[ -f "$E2E_DIR/Prueba.man" ] || e2e_fail "no Prueba.man in the data folder"
[ "$(e2e_status)" = "$saved" ] || e2e_fail "saving moved the game: '$(e2e_status)' after '$saved'"

# Play on one more turn, so the table is elsewhere when the game is loaded.
e2e_play_my_turn "$saved"
[ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got its fourth turn"
later=$(e2e_status)
[ "$later" != "$saved" ] || e2e_fail "play did not go on after saving"

dialog=$(menu_entry 2 "Cargar un juego archivado") || e2e_fail "no load dialog from the options menu"
sleep 0.3
xdotool type --delay 30 "Prueba"
sleep 0.3
e2e_screenshot saved-games
rm -f "$TARVELIS_TEST_STATUS"
e2e_key "$dialog" Return
e2e_wait_closed "Cargar un juego archivado" 5 "the load dialog stayed open"
[ "$(e2e_advance)" = turn ] || e2e_fail "play did not restart after the load"
[ "$(e2e_status)" = "$saved" ] || e2e_fail "restarted at '$(e2e_status)', saved at '$saved'"
e2e_screenshot saved-games-loaded

# The manual, with F1 on the table.
e2e_key "$E2E_TABLE" F1
help=$(e2e_wait_window "Ayuda de TARVELIS" 10) || e2e_fail "F1 did not open the manual"
sleep 0.5
e2e_screenshot help
e2e_key "$help" Escape
e2e_wait_closed "Ayuda de TARVELIS" 5 "Escape did not close the manual"

e2e_leave
echo "PASS: saved games and help"
