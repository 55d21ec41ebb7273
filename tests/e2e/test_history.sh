#!/usr/bin/env bash
# A short match played by four automatic seats to its end, kept in the
# history, then the history viewer opened from the table: the match is there,
# the totals too. Also: the start-up cover closes on a click.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
export TARVELIS_TEST_STATUS="$E2E_DIR/status"

# The first start writes the default settings. A click closes the cover too.
e2e_start_game_with_cover
cover=$(e2e_wait_window "Presentación de TARVELIS" 30) || e2e_fail "no start-up cover"
sleep 0.5
e2e_screenshot history-cover
read -r cx cy < <(xdotool getwindowgeometry "$cover" |
  awk '/Position/ {split($2, a, ","); print a[1] + 20, a[2] + 20}')
e2e_click "$cx" "$cy"
dialog=$(e2e_wait_window "Error en la carga de datos iniciales" 20) || e2e_fail "a click left the cover up"
e2e_key "$dialog" Return
e2e_wait_window "TARVELIS" 10 >/dev/null || e2e_fail "no table"
e2e_click 770 28
e2e_wait_exit 10

# Then: no pause, no sound, full speed, every seat automatic, a match of one
# ten, so that the first hand scored ends it.
ini="$E2E_DIR/TARVE32.INI"
awk 'BEGIN { FS = OFS = "," } NR == 1 { $9 = 2; $12 = 2; $20 = 1 } NR == 2 { $1 = 1; $2 = 100 }
     { print }' "$ini" >"$ini.new" && mv "$ini.new" "$ini"

e2e_start_match

# Answers every message with yes and goes on at every "Continuar" until the
# history question has been answered.
asked=""
for _ in $(seq 600); do
  for title in "Comienza la Partida" "C i e r r e" "Final de este juego" "Final de Partida" \
               "Histórico de partidas jugadas"; do
    if dialog=$(e2e_wait_window "$title" 0); then
      [ "$title" = "Histórico de partidas jugadas" ] && asked=yes
      e2e_key "$dialog" Return
      sleep 0.3
    fi
  done
  [ -n "$asked" ] && ! e2e_window_exists "Histórico de partidas jugadas" && break
  case "$(e2e_status)" in
    "notice Continuar "*) rm -f "$TARVELIS_TEST_STATUS"; e2e_click 688 550 ;;
  esac
  sleep 0.1
done
[ -n "$asked" ] || e2e_fail "the match never asked to be kept in the history"

# One record of 63 bytes: the winners first, with points that reached the target.
his="$E2E_DIR/TARVE32.HIS"
for _ in $(seq 50); do [ -s "$his" ] && break; sleep 0.1; done
[ "$(wc -c <"$his")" = 63 ] || e2e_fail "TARVE32.HIS holds $(wc -c <"$his") bytes"
record=$(head -c 61 "$his")
[ "${record:60:1}" = P ] || e2e_fail "not a pairs record: $record"
won=$((10#$(echo "${record:48:3}" | tr -d ' ')))
lost=$((10#$(echo "${record:51:3}" | tr -d ' ')))
[ "$won" -ge 1 ] && [ "$won" -gt "$lost" ] || e2e_fail "the winners do not come first: $record"

# The score button opens the score report, whose first button leads to the history.
e2e_click 779 103
report=$(e2e_wait_window "Marcador" 10) || e2e_fail "the score report did not open"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$report")"
# The history button: the first of two 96-pixel buttons 24 apart, 14 from the bottom.
e2e_click $((X + (WIDTH - 216) / 2 + 48)) $((Y + HEIGHT - 14 - 14))
viewer=$(e2e_wait_window "Histórico de partidas" 10) || e2e_fail "no history viewer"
sleep 0.5
e2e_screenshot history-folder
read -r vx vy < <(xdotool getwindowgeometry "$viewer" |
  awk '/Position/ {split($2, a, ","); print a[1], a[2]}')
# The totals button, left of the exit button under the folder.
e2e_click $((vx + 92 + 48)) $((vy + 26 + 14 + 290 + 14 + 14))
sleep 0.5
e2e_screenshot history-totals
e2e_key "$viewer" Escape
e2e_wait_closed "Histórico de partidas" 5 "the viewer did not close"
e2e_key "$report" Escape
e2e_wait_closed "Marcador" 5 "the score report did not close"
e2e_click 770 28
e2e_wait_exit 10
echo "PASS: history"
