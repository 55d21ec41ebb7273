#!/usr/bin/env bash
# A whole hand played with the mouse on the real table: the manual seat's
# tiles are clicked, the game is left in the middle of the hand, started again
# and resumed, and the hand is played to its end.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
export TARVELIS_TEST_STATUS="$E2E_DIR/status"

# A first run writes the default settings; then: no pause between moves, no
# sound, full speed, seat 4 by hand (the default).
e2e_start_game
dialog=$(e2e_wait_window "Error en la carga de datos iniciales" 20) || e2e_fail "no first start"
e2e_key "$dialog" Return
e2e_wait_window "TARVELIS" 10 >/dev/null || e2e_fail "no table"
e2e_click 770 28
e2e_wait_exit 10
ini="$E2E_DIR/TARVE32.INI"
awk 'BEGIN { FS = OFS = "," }
     NR == 1 { $9 = 2; $12 = 2 }
     NR == 2 { $2 = 100 }
     { print }' "$ini" >"$ini.new" && mv "$ini.new" "$ini"

status() { cat "$TARVELIS_TEST_STATUS" 2>/dev/null || true; }

# Plays seat 4's turn: a click on each tile in turn (only a playable one is
# taken, and when it fits both ends the arrow of end 1 is clicked), then the
# continue button when none could be (the seat passes).
play_my_turn() {
  local before=$1 slot now
  for slot in 1 2 3 4 5 6 7; do
    e2e_click $((246 + 44 * (slot - 1) + 22)) 560
    sleep 0.2
    now=$(status)
    case "$now" in
      "arrows "*)
        read -r _ _ _ _ x y _ <<<"$now"
        sleep 0.3
        e2e_click $((x + 16)) $((y + 16))
        return 0 ;;
    esac
    [ "$now" != "$before" ] && return 0
  done
  e2e_click 688 550
}

# Answers whatever the engine asks until seat 4 is to move or the hand ends.
# Prints "turn", "end" or "stuck".
advance() {
  local dialog
  for _ in $(seq 200); do
    for title in "Comienza la Partida" "C i e r r e" "Final de este juego"; do
      if dialog=$(e2e_wait_window "$title" 0); then
        [ "$title" = "Comienza la Partida" ] || { echo end; return; }
        e2e_key "$dialog" Return
      fi
    done
    case "$(status)" in
      "notice Jugador4 "*) echo turn; return ;;
    esac
    sleep 0.1
  done
  echo stuck
}

e2e_start_game
table=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table on the second start"
sleep 0.3
e2e_key "$table" space   # any key starts a match when none is in progress

# Three turns of seat 4, then leave in the middle of the hand.
for turn in 1 2 3; do
  [ "$(advance)" = turn ] || e2e_fail "seat 4 never got turn $turn"
  play_my_turn "$(status)"
done
[ "$(advance)" = turn ] || e2e_fail "seat 4 never got its fourth turn"
waiting=$(status)
e2e_screenshot play-before-leaving
e2e_click 770 28
dialog=$(e2e_wait_window "Posponer la partida en curso" 10) || e2e_fail "leaving did not ask"
e2e_key "$dialog" Return
e2e_wait_exit 10
grep -q '#TRUE#,#TRUE#' "$ini" || e2e_fail "the hand in progress was not saved"

# The next start resumes the same hand with the same seat to move.
rm -f "$TARVELIS_TEST_STATUS"
e2e_start_game
dialog=$(e2e_wait_window "Continuar la partida anterior" 20) || e2e_fail "no resumed hand"
e2e_screenshot play-resumed
e2e_key "$dialog" Return
[ "$(advance)" = turn ] || e2e_fail "the resumed hand did not wait for seat 4"
[ "$(status)" = "$waiting" ] || e2e_fail "resumed at '$(status)', left at '$waiting'"

# Play the hand to its end.
for _ in $(seq 30); do
  case "$(advance)" in
    turn) play_my_turn "$(status)" ;;
    end) break ;;
    *) e2e_fail "the hand got stuck at '$(status)'" ;;
  esac
done
e2e_window_exists "Final de este juego" || e2e_window_exists "C i e r r e" || e2e_fail "the hand did not end"
e2e_screenshot play-hand-end
echo "PASS: play a hand"
