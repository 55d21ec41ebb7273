#!/usr/bin/env bash
# Saved games, the manual, the recorder, the score report and the tutor with
# real clicks on the real table. The game in play is saved under a name from
# the options menu, play goes on, the saved game is loaded back and play
# restarts at the saved position with the same seat to move; the manual opens
# with F1. Then the recorder is switched on, run back to the lead and forward
# to the live move, play goes on from move 3 and the hand is finished; the
# score report opens and closes; the tutor points at a tile the user can play.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
# Seed 7: the first hand goes on past seat 4's fourth turn and leaves the
# match open, and seat 4 has a tile to play at its first turn of the next.
export TARVELIS_TEST_SEED=7
e2e_first_start "$E2E_QUICK"

# Opens the options menu away from the hands and picks its entry $1 (1 save,
# 2 load, 3 delete); waits for the dialog titled $2 and prints its id.
menu_entry() {
  local entry=$1 title=$2 id
  for _ in 1 2 3; do
    e2e_move 300 300
    xdotool click 3
    e2e_wait_open "menu 1" 5 || continue
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
e2e_type "$dialog" "Prueba"
e2e_key "$dialog" Return
e2e_wait_closed "Archivar el juego actual" 5 "the save dialog stayed open"
[ -f "$E2E_DIR/Prueba.man" ] || e2e_fail "no Prueba.man in the data folder"
[ "$(e2e_status)" = "$saved" ] || e2e_fail "saving moved the game: '$(e2e_status)' after '$saved'"

# Play on one more turn, so the table is elsewhere when the game is loaded.
e2e_play_my_turn "$saved"
[ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got its fourth turn: '$(e2e_status)'"
later=$(e2e_status)
[ "$later" != "$saved" ] || e2e_fail "play did not go on after saving"

dialog=$(menu_entry 2 "Cargar un juego archivado") || e2e_fail "no load dialog from the options menu"
e2e_type "$dialog" "Prueba"
rm -f "$TARVELIS_TEST_STATUS"
e2e_key "$dialog" Return
e2e_wait_closed "Cargar un juego archivado" 5 "the load dialog stayed open"
[ "$(e2e_advance)" = turn ] || e2e_fail "play did not restart after the load"
[ "$(e2e_status)" = "$saved" ] || e2e_fail "restarted at '$(e2e_status)', saved at '$saved'"

# The manual, with F1 on the table.
e2e_key "$E2E_TABLE" F1
help=$(e2e_wait_window "Ayuda de TARVELIS" 10) || e2e_fail "F1 did not open the manual"
e2e_key "$help" Escape
e2e_wait_closed "Ayuda de TARVELIS" 5 "Escape did not close the manual"

# The recorder panel's controls, by their middles (panel at 742, 524).
panel() {
  case $1 in
    switch) e2e_click 767 536 ;;
    back) e2e_click 756 555 ;;
    forward) e2e_click 777 555 ;;
    runback) e2e_click 756 571 ;;
    runforward) e2e_click 777 571 ;;
    playon) e2e_click 766 587 ;;
  esac
}

# Seat 4 plays until at least seven moves are in the record.
e2e_play_to_move 8 10
live=$(e2e_field move)

# On, back to the lead, forward to the live move.
panel switch
e2e_expect_status "^recorder move $live live $live "
panel runback
e2e_expect_status "^recorder move 1 live $live .* selected -1"
panel runforward
e2e_expect_status "^recorder move $live live $live .* selected $((live - 2))"

# To move 3 and play on from there: the later moves are gone.
panel runback
e2e_expect_status "^recorder move 1 live $live "
panel forward
e2e_expect_status "^recorder move 2 live $live "
panel forward
e2e_expect_status "^recorder move 3 live $live seat [1-4] lines $((live - 1)) selected 1"
e2e_screenshot recorder-panel
panel playon
[ "$(e2e_advance)" = turn ] || e2e_fail "play did not go on after playing on from move 3"
again=$(e2e_field move)
[ "$again" -lt "$live" ] && [ "$again" -ge 3 ] || e2e_fail "play went on from move $again"

# The hand to its end, the end message answered, the score report.
for _ in $(seq 40); do
  case "$(e2e_advance)" in
    turn) e2e_play_my_turn "$(e2e_status)" ;;
    end) break ;;
    *) e2e_fail "the hand got stuck at '$(e2e_status)'" ;;
  esac
done
at_continue() {
  e2e_answer "C i e r r e" "Final de este juego" || true
  e2e_status_is '^notice Continuar'
}
e2e_until 20 at_continue || e2e_fail "no end of hand: '$(e2e_status)'"

e2e_click 779 103
report=$(e2e_wait_window "Marcador" 10) || e2e_fail "the score report did not open"
eval "$(xdotool getwindowgeometry --shell "$report")"
# The exit button: the second of two 96-pixel buttons 24 apart, 14 from the bottom.
exit_x=$((X + (WIDTH - 216) / 2 + 120 + 48))
exit_y=$((Y + HEIGHT - 14 - 14))
e2e_click "$exit_x" "$exit_y"
e2e_wait_closed "Marcador" 5 "the score report did not close"

# The next hand: the tutor points at a tile seat 4 can play, and clicking
# that tile plays it.
# A click made while the report was closing is dropped as stale: the
# continue button is pressed again, once the game has dealt with the last
# click, until the next hand waits for seat 4.
for _ in 1 2 3; do
  e2e_click_settled 688 550
  e2e_wait_status '^notice Jugador4 ' 20 && break
done
[ "$(e2e_advance)" = turn ] || e2e_fail "no turn in the next hand"
waiting=$(e2e_status)
waiting_move=$(e2e_field move)
e2e_click 694 28
e2e_expect_status "^tutor seat 4 "
[[ "$(e2e_status)" =~ ^tutor\ seat\ 4\ slot\ [1-7]\  ]] || e2e_fail "the tutor pointed at no tile"
slot=$(e2e_field slot)
e2e_click "$(e2e_tile_x "$slot")" $E2E_TILE_Y
tile_taken() { ! e2e_status_is '^tutor' && e2e_status_left "$waiting"; }
e2e_until 10 tile_taken || true
now=$(e2e_status)
[[ "$now" =~ ^notice\  ]] && [ "$(e2e_field move)" -gt "$waiting_move" ] ||
  e2e_fail "the suggested tile was not played: '$now'"
echo "PASS: saved games, help, recorder, score report and tutor"
