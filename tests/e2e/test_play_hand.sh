#!/usr/bin/env bash
# A whole hand played with the mouse on the real table: the manual seat's
# tiles are clicked, the game is left in the middle of the hand, started again
# and resumed, and the hand is played to its end.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"
e2e_start_match

# Three turns of seat 4, then leave in the middle of the hand.
for turn in 1 2 3; do
  [ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got turn $turn"
  e2e_play_my_turn "$(e2e_status)"
done
[ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got its fourth turn"
waiting=$(e2e_status)
e2e_screenshot play-before-leaving
e2e_leave
grep -q '#TRUE#,#TRUE#' "$E2E_INI" || e2e_fail "the hand in progress was not saved"

# The next start resumes the same hand with the same seat to move.
rm -f "$TARVELIS_TEST_STATUS"
e2e_start_game
dialog=$(e2e_wait_window "Continuar la partida anterior" 20) || e2e_fail "no resumed hand"
e2e_screenshot play-resumed
e2e_key "$dialog" Return
[ "$(e2e_advance)" = turn ] || e2e_fail "the resumed hand did not wait for seat 4"
[ "$(e2e_status)" = "$waiting" ] || e2e_fail "resumed at '$(e2e_status)', left at '$waiting'"

# Play the hand to its end.
for _ in $(seq 30); do
  case "$(e2e_advance)" in
    turn) e2e_play_my_turn "$(e2e_status)" ;;
    end) break ;;
    *) e2e_fail "the hand got stuck at '$(e2e_status)'" ;;
  esac
done
e2e_window_exists "Final de este juego" || e2e_window_exists "C i e r r e" || e2e_fail "the hand did not end"
e2e_screenshot play-hand-end
echo "PASS: play a hand"
