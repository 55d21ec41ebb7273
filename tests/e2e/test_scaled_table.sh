#!/usr/bin/env bash
# A whole hand played with real clicks on a table blown up to today's screens:
# 1920 x 1080, and 3840 x 2160 with the desktop at 200% (QT_SCALE_FACTOR=2).
# Every click is aimed where the tile or button is drawn on the screen: its
# place on the 1365 x 768 table the game lays out, times the picture's scale.
# On the first, F11 switches to a window and back, and the mode is kept.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

# The table for a screen wider and taller than 1024 x 768: 768 high, as wide
# as the screen's shape allows; set by play_on below.
TW=0
TH=0
SCALE=1

# Table pixel (x, y) to the screen pixel in its middle.
to_screen() {
  awk -v x="$1" -v y="$2" -v s="$SCALE" 'BEGIN { printf "%d %d\n", (x + 0.5) * s, (y + 0.5) * s }'
}
e2e_click() {
  local sx sy
  read -r sx sy < <(to_screen "$1" "$2")
  e2e_move "$sx" "$sy"
  xdotool click 1
}
e2e_tile_x() { echo $(((TW - 308) / 2 + 44 * ($1 - 1) + 22)); }
exit_button() { e2e_click $((TW - 30)) 28; }


# Plays one hand on a screen of $1 (WxHx24), the desktop at a scale of $2.
play_on() {
  local screen=$1 ratio=$2 w h dialog
  w=${screen%%x*}
  h=${screen#*x}
  h=${h%%x*}
  TW=$(awk -v w="$w" -v h="$h" 'BEGIN { printf "%d", w / (h / 768) + 1e-9 }')
  TH=768
  SCALE=$(awk -v h="$h" 'BEGIN { print h / 768 }')
  # Where e2e_play_my_turn clicks, in table pixels.
  E2E_TILE_Y=$((TH - 40))
  E2E_CONTINUE_X=$((TW - 112))
  E2E_CONTINUE_Y=$((TH - 50))
  export QT_SCALE_FACTOR=$ratio
  e2e_start_x "$screen"
  e2e_fresh_folder
  E2E_INI="$E2E_DIR/TARVE32.INI"
  e2e_start_game
  dialog=$(e2e_wait_window "Error en la carga de datos iniciales" 20) || e2e_fail "no first start"
  e2e_key "$dialog" Return
  e2e_wait_window "TARVELIS" 10 >/dev/null || e2e_fail "no table at $screen"
  exit_button
  e2e_wait_exit 10
  [ ! -e "$E2E_DIR/TARVE32.VEN" ] || grep -q "Modo=PantallaCompleta" "$E2E_DIR/TARVE32.VEN" ||
    e2e_fail "the table did not stay full screen"
  e2e_set_ini "$E2E_QUICK"
  if [ "$ratio" = 1 ]; then
    # F11 puts the table in a window and back; each change is kept at once.
    e2e_start_game
    E2E_TABLE=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table"
    e2e_key "$E2E_TABLE" F11
    e2e_until 10 grep -q "Modo=Ventana" "$E2E_DIR/TARVE32.VEN" 2>/dev/null ||
      e2e_fail "F11 did not make a window"
    e2e_key "$E2E_TABLE" F11
    e2e_until 10 grep -q "Modo=PantallaCompleta" "$E2E_DIR/TARVE32.VEN" ||
      e2e_fail "F11 did not go back"
    exit_button
    e2e_wait_exit 10
  fi
  e2e_start_match
  for _ in $(seq 30); do
    case "$(e2e_advance)" in
      turn) e2e_play_my_turn "$(e2e_status)" ;;
      end) break ;;
      *) e2e_fail "the hand got stuck at '$(e2e_status)' on $screen" ;;
    esac
  done
  e2e_window_exists "Final de este juego" || e2e_window_exists "C i e r r e" ||
    e2e_fail "the hand did not end on $screen"
  e2e_screenshot "scaled-table-$w"
  e2e_cleanup
}

play_on 1920x1080x24 1
play_on 3840x2160x24 2
echo "PASS: a hand played with clicks on tables blown up to 1920 x 1080 and 3840 x 2160"
