#!/usr/bin/env bash
# First start, exit and second start of the real game under Xvfb, and the
# resolution notice on a 640x480 screen.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_start_game

# The very first start creates the settings file and says so.
dialog=$(e2e_wait_window "Error en la carga de datos iniciales" 20) ||
  e2e_fail "no first-start message"
e2e_screenshot startup-first-message
e2e_key "$dialog" Return
table=$(e2e_wait_window "TARVELIS" 10) || e2e_fail "no table window"
sleep 0.5
e2e_screenshot startup-table-800x600
read -r w h < <(xdotool getwindowgeometry "$table" | awk '/Geometry/ {split($2, a, "x"); print a[1], a[2]}')
[ "$w" = 800 ] && [ "$h" = 600 ] || e2e_fail "table is ${w}x${h}, not full screen"

# The exit button asks nothing without a match and writes the 127-line file.
e2e_click 770 28
e2e_wait_exit 10
ini="$E2E_DIR/TARVE32.INI"
[ -f "$ini" ] || e2e_fail "no TARVE32.INI"
[ "$(wc -l <"$ini")" = 127 ] || e2e_fail "TARVE32.INI has $(wc -l <"$ini") lines"
[ "$(grep -c $'\r$' "$ini")" = 127 ] || e2e_fail "TARVE32.INI lines do not end in CR LF"

# The second start reads it without a message.
e2e_start_game
table=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table window on the second start"
sleep 1
e2e_window_exists "Error en la carga de datos iniciales" && e2e_fail "second start complained"
e2e_click 770 28
e2e_wait_exit 10
e2e_stop_x

# A 640x480 screen gets the resolution notice.
e2e_start_x 640x480x24
e2e_start_game
dialog=$(e2e_wait_window "Resolución de pantalla" 20) || e2e_fail "no resolution notice at 640x480"
e2e_screenshot startup-640x480-notice
e2e_key "$dialog" Return
sleep 0.3
e2e_click 610 28
e2e_wait_exit 10
echo "PASS: startup"
