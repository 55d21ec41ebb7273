#!/usr/bin/env bash
# The recorder, the score report and the tutor with real clicks: a few moves
# are played, the recorder is switched on, run back to the lead and forward to
# the live move, play goes on from move 3 and the hand is finished; the score
# report opens and closes; the tutor points at a tile the user can play.
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
field() { status | awk -v k="$1" '{ for (i = 1; i < NF; i++) if ($i == k) print $(i + 1) }'; }

# Waits up to 20 s for the status to match a pattern.
wait_status() {
  for _ in $(seq 200); do
    [[ "$(status)" =~ $1 ]] && return 0
    sleep 0.1
  done
  e2e_fail "waited for '$1', the game says '$(status)'"
}

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
advance() {
  local dialog
  for _ in $(seq 600); do
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
table=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table"
sleep 0.3
e2e_key "$table" space

# Seat 4 plays until at least seven moves are in the record.
for _ in $(seq 10); do
  [ "$(advance)" = turn ] || e2e_fail "seat 4 never got its turn"
  [ "$(field move)" -ge 8 ] && break
  play_my_turn "$(status)"
done
live=$(field move)
[ "$live" -ge 8 ] || e2e_fail "the hand is too short for the recorder: '$(status)'"

# On, back to the lead, forward to the live move.
panel switch
wait_status "^recorder move $live live $live "
panel runback
wait_status "^recorder move 1 live $live .* selected -1"
e2e_screenshot recorder-at-lead
panel runforward
wait_status "^recorder move $live live $live .* selected $((live - 2))"

# To move 3 and play on from there: the later moves are gone.
panel runback
wait_status "^recorder move 1 live $live "
panel forward
wait_status "^recorder move 2 live $live "
panel forward
wait_status "^recorder move 3 live $live seat [1-4] lines $((live - 1)) selected 1"
e2e_screenshot recorder-panel
panel playon
[ "$(advance)" = turn ] || e2e_fail "play did not go on after playing on from move 3"
again=$(field move)
[ "$again" -lt "$live" ] && [ "$again" -ge 3 ] || e2e_fail "play went on from move $again"

# The hand to its end, the end message answered, the score report.
for _ in $(seq 40); do
  case "$(advance)" in
    turn) play_my_turn "$(status)" ;;
    end) break ;;
    *) e2e_fail "the hand got stuck at '$(status)'" ;;
  esac
done
for _ in $(seq 100); do
  for title in "C i e r r e" "Final de este juego"; do
    if dialog=$(e2e_wait_window "$title" 0); then e2e_key "$dialog" Return; fi
  done
  [[ "$(status)" =~ ^notice\ Continuar ]] && break
  sleep 0.2
done
[[ "$(status)" =~ ^notice\ Continuar ]] || e2e_fail "no end of hand: '$(status)'"

e2e_click 779 103
report=$(e2e_wait_window "Marcador" 10) || e2e_fail "the score report did not open"
sleep 0.5
e2e_screenshot score-report
eval "$(xdotool getwindowgeometry --shell "$report")"
# The exit button: the second of two 96-pixel buttons 24 apart, 14 from the bottom.
exit_x=$((X + (WIDTH - 216) / 2 + 120 + 48))
exit_y=$((Y + HEIGHT - 14 - 14))
e2e_click "$exit_x" "$exit_y"
for _ in $(seq 50); do e2e_window_exists "Marcador" || break; sleep 0.1; done
e2e_window_exists "Marcador" && e2e_fail "the score report did not close"

# The next hand: the tutor points at a tile seat 4 can play, and clicking
# that tile plays it. When seat 4 has nothing to play the tutor shows nothing;
# the continue button then lets the computer pass for it, and the tutor is
# asked again at seat 4's next turn.
e2e_click 688 550
for attempt in 1 2 3 4 5 6; do
  [ "$(advance)" = turn ] || e2e_fail "no turn in the next hand"
  waiting=$(status)
  sleep 0.6  # apart from the last click, as a player's clicks are
  e2e_click 694 28
  wait_status "^tutor seat 4 "
  [[ "$(status)" =~ ^tutor\ seat\ 4\ slot ]] && break
  sleep 0.6
  e2e_click 688 550
done
[[ "$(status)" =~ ^tutor\ seat\ 4\ slot\ [1-7]\  ]] || e2e_fail "the tutor never pointed at a tile"
slot=$(field slot)
e2e_click $((246 + 44 * (slot - 1) + 22)) 560
sleep 0.3
[[ "$(status)" =~ ^arrows ]] && e2e_click $(($(status | awk '{ print $5 }') + 16)) $(($(status | awk '{ print $6 }') + 16))
for _ in $(seq 100); do
  now=$(status)
  [[ "$now" =~ ^tutor ]] || [ "$now" = "$waiting" ] || break
  sleep 0.1
done
[[ "$(status)" =~ ^tutor ]] && e2e_fail "the suggested tile was not taken"
echo "PASS: recorder, score report and tutor"
