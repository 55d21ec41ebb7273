#!/usr/bin/env bash
# Saved games on the real table: the game in play is saved under a name from
# the options menu, play goes on, the saved game is loaded back and play
# restarts at the saved position with the same seat to move. Then the manual
# opens with F1.
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

# Plays seat 4's turn: a click on each tile in turn until one is taken (and
# the arrow of end 1 when it fits both ends), else the continue button.
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

# Answers the opening message until seat 4 is to move; prints "turn" or "stuck".
advance() {
  local dialog
  for _ in $(seq 200); do
    if dialog=$(e2e_wait_window "Comienza la Partida" 0); then e2e_key "$dialog" Return; fi
    case "$(status)" in
      "notice Jugador4 "*) echo turn; return ;;
    esac
    sleep 0.1
  done
  echo stuck
}

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

e2e_start_game
table=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table on the second start"
sleep 0.3
e2e_key "$table" space   # any key starts a match when none is in progress

# Two turns of seat 4, then save at its third.
for turn in 1 2; do
  [ "$(advance)" = turn ] || e2e_fail "seat 4 never got turn $turn"
  play_my_turn "$(status)"
done
[ "$(advance)" = turn ] || e2e_fail "seat 4 never got its third turn"
saved=$(status)
dialog=$(menu_entry 1 "Archivar el juego actual") || e2e_fail "no save dialog from the options menu"
sleep 0.3
xdotool type --delay 30 "Prueba"
e2e_key "$dialog" Return
for _ in $(seq 50); do e2e_window_exists "Archivar el juego actual" || break; sleep 0.1; done
e2e_window_exists "Archivar el juego actual" && e2e_fail "the save dialog stayed open"
[ -f "$E2E_DIR/Prueba.man" ] || e2e_fail "no Prueba.man in the data folder"
[ "$(status)" = "$saved" ] || e2e_fail "saving moved the game: '$(status)' after '$saved'"

# Play on one more turn, so the table is elsewhere when the game is loaded.
play_my_turn "$saved"
[ "$(advance)" = turn ] || e2e_fail "seat 4 never got its fourth turn"
later=$(status)
[ "$later" != "$saved" ] || e2e_fail "play did not go on after saving"

dialog=$(menu_entry 2 "Cargar un juego archivado") || e2e_fail "no load dialog from the options menu"
sleep 0.3
xdotool type --delay 30 "Prueba"
sleep 0.3
e2e_screenshot saved-games
rm -f "$TARVELIS_TEST_STATUS"
e2e_key "$dialog" Return
for _ in $(seq 50); do e2e_window_exists "Cargar un juego archivado" || break; sleep 0.1; done
e2e_window_exists "Cargar un juego archivado" && e2e_fail "the load dialog stayed open"
[ "$(advance)" = turn ] || e2e_fail "play did not restart after the load"
[ "$(status)" = "$saved" ] || e2e_fail "restarted at '$(status)', saved at '$saved'"
e2e_screenshot saved-games-loaded

# The manual, with F1 on the table.
e2e_key "$table" F1
help=$(e2e_wait_window "Ayuda de TARVELIS" 10) || e2e_fail "F1 did not open the manual"
sleep 0.5
e2e_screenshot help
e2e_key "$help" Escape
for _ in $(seq 50); do e2e_window_exists "Ayuda de TARVELIS" || break; sleep 0.1; done
e2e_window_exists "Ayuda de TARVELIS" && e2e_fail "Escape did not close the manual"

e2e_click 770 28
dialog=$(e2e_wait_window "Posponer la partida en curso" 10) || e2e_fail "leaving did not ask"
e2e_key "$dialog" Return
e2e_wait_exit 10
echo "PASS: saved games and help"
