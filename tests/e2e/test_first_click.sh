#!/usr/bin/env bash
# A new player's first click on the new-match button starts the match, also
# right after a start-up message closed with a click on its own button: the
# first start's message, and the small screen's warning after it.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

# Clicks the Aceptar button of the notice titled $1, centred 16 pixels above
# its bottom edge and 28 high, holding the button down as a person does: the
# notice goes at the press, and the release comes after it.
click_notice() {
  local id x y w h
  id=$(e2e_wait_window "$1" 20) || e2e_fail "no message '$1'"
  read -r x y w h < <(xdotool getwindowgeometry "$id" |
    awk '/Position/ {split($2, a, ","); x = a[1]; y = a[2]}
         /Geometry/ {split($2, b, "x"); print x, y, b[1], b[2]}')
  e2e_move $((x + w / 2)) $((y + h - 16 - 14))
  xdotool mousedown 1
  e2e_wait_closed "$1" 5 "a press on Aceptar left '$1' open"
  xdotool mouseup 1
}

for screen in 800x600x24 640x480x24; do
  e2e_start_x "$screen"
  e2e_fresh_folder
  e2e_start_game
  click_notice "Error en la carga de datos iniciales"
  [ "$screen" = 640x480x24 ] && click_notice "Resolución de pantalla"
  e2e_wait_window "TARVELIS" 10 >/dev/null || e2e_fail "no table"
  # Button 2, the new match, at (5, 4) on every table.
  e2e_click 30 26
  e2e_wait_window "Comienza la Partida" 10 >/dev/null ||
    e2e_fail "$screen: the first click on the new-match button did nothing"
  e2e_cleanup
done
echo "PASS: the first click after a start-up message starts the match"
