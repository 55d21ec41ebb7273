#!/usr/bin/env bash
# First start, the settings window, exit and second start of the real game
# under Xvfb: the first start writes the settings file and says so; individual
# play chosen on the rules page shows the individual scoreboard, is written
# on leaving and is back on the second start, which says nothing. Then the
# resolution notice on a 640x480 screen, and the time the settings window
# takes to open on a 1920x1080 one. Takes the pictures of both settings pages
# for docs/.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

TITLE="Personalizar la aplicación"

# The window's top left corner on the screen.
window_origin() {
  xdotool getwindowgeometry "$1" | awk '/Position/ {split($2, a, ","); print a[1], a[2]}'
}
# The score button at 800x600 (button 6 at (760, 80), 38 x 46).
score_crop() { convert "$E2E_ARTEFACTS/$1.png" -crop 38x46+760+80 +repage "$E2E_DIR/$1-score.png"; }
# Pixels that differ by more than a tenth of the colour range.
pixels_apart() { compare -metric AE -fuzz 10% "$E2E_DIR/$1-score.png" "$E2E_DIR/$2-score.png" null: 2>&1 | cut -d' ' -f1 || true; }
# Takes the picture $2 until its scoreboard is $3 ("-gt" or "-lt") $4 pixels
# apart from the picture $1's: the table may still be drawing it.
scoreboard_is() {
  e2e_screenshot "$2"
  score_crop "$2"
  apart=$(pixels_apart "$1" "$2")
  [ "${apart:-0}" "$3" "$4" ]
}
mode_in_ini() { head -n1 "$ini" | tr -d '\r' | awk -F, '{print $NF}' | tr -d ' '; }

e2e_start_x 800x600x24
e2e_fresh_folder
ini="$E2E_DIR/TARVE32.INI"
e2e_start_game

# The very first start creates the settings file and says so.
dialog=$(e2e_wait_window "Error en la carga de datos iniciales" 20) || e2e_fail "no first-start message"
e2e_key "$dialog" Return
table=$(e2e_wait_window "TARVELIS" 10) || e2e_fail "no table window"
e2e_screenshot startup-table-800x600
score_crop startup-table-800x600
read -r w h < <(xdotool getwindowgeometry "$table" | awk '/Geometry/ {split($2, a, "x"); print a[1], a[2]}')
[ "$w" = 800 ] && [ "$h" = 600 ] || e2e_fail "table is ${w}x${h}, not full screen"

# Button 3 (85, 4), 58 x 48, opens the settings window centred on the screen.
e2e_click 114 28
win=$(e2e_wait_window "$TITLE" 20) || e2e_fail "button 3 opened no settings window"
read -r wx wy < <(window_origin "$win")
[ $((wx - 82)) -ge -1 ] && [ $((wx - 82)) -le 1 ] && [ $((wy - 65)) -ge -1 ] && [ $((wy - 65)) -le 1 ] ||
  e2e_fail "the window is at $wx,$wy, not centred"
e2e_screenshot settings-players
# The rules page, then " Modo de juego  ": its button at (2 + 104, 2 + 61) of the window.
e2e_click_settled $((wx + 110)) $((wy + 427))
# The selector turns before the click is done with.
e2e_click_settled $((wx + 120)) $((wy + 73))
e2e_screenshot settings-rules
# Out of the rules page, then out of the window.
e2e_click_settled $((wx + 560)) $((wy + 437))
e2e_click $((wx + 526)) $((wy + 427))
e2e_wait_closed "$TITLE" 10 "the exit button left the window open"
e2e_until 5 scoreboard_is startup-table-800x600 settings-table-after -gt 40 ||
  e2e_fail "the scoreboard did not change to individual play ($apart pixels)"
[ "$(mode_in_ini)" = 2 ] || e2e_fail "closing the window did not save individual play"

# The exit button asks nothing without a match and writes the 127-line file.
e2e_click 770 28
e2e_wait_exit 10
[ "$(wc -l <"$ini")" = 127 ] || e2e_fail "TARVE32.INI has $(wc -l <"$ini") lines"
[ "$(grep -c $'\r$' "$ini")" = 127 ] || e2e_fail "TARVE32.INI lines do not end in CR LF"
[ "$(mode_in_ini)" = 2 ] || e2e_fail "TARVE32.INI lost individual play on leaving"

# The second start reads it without a message, individual scoreboard and all.
e2e_start_game
e2e_wait_window "TARVELIS" 20 >/dev/null || e2e_fail "no table window on the second start"
# The settings are read before the table is shown: a complaint would be up.
e2e_window_exists "Error en la carga de datos iniciales" && e2e_fail "second start complained"
e2e_until 5 scoreboard_is settings-table-after settings-table-restarted -lt 20 ||
  e2e_fail "the second start shows another scoreboard ($apart pixels)"
e2e_click 770 28
e2e_wait_exit 10
e2e_stop_x

# A 640x480 screen gets the resolution notice.
e2e_start_x 640x480x24
e2e_start_game
dialog=$(e2e_wait_window "Resolución de pantalla" 20) || e2e_fail "no resolution notice at 640x480"
e2e_key "$dialog" Return
e2e_wait_closed "Resolución de pantalla" 5 "the resolution notice stayed up"
e2e_wait_window "TARVELIS" 10 >/dev/null || e2e_fail "no table at 640x480"
e2e_click 610 28
e2e_wait_exit 10
e2e_stop_x

# How long from the press on button 3 to the window on screen at 1920x1080,
# then its exit button where the blown-up window draws it.
e2e_start_x 1920x1080x24
e2e_start_game
e2e_wait_window "TARVELIS" 20 >/dev/null || e2e_fail "no table at 1920x1080"
# The table is blown up by 1080 / 768 there: button 3 at table (114, 28).
e2e_move 160 39
start=$(date +%s%N)
xdotool click 1
for _ in $(seq 2000); do e2e_window_exists "$TITLE" && break; done
end=$(date +%s%N)
e2e_window_exists "$TITLE" || e2e_fail "no settings window at 1920x1080"
echo "settings window open after $(((end - start) / 1000000)) ms at 1920x1080" |
  tee "$E2E_ARTEFACTS/settings-open-time.txt"
win=$(e2e_wait_window "$TITLE" 5)
# Blown up by the table's factor too, and clicked where its exit button is drawn.
read -r w h < <(xdotool getwindowgeometry "$win" | awk '/Geometry/ {split($2, a, "x"); print a[1], a[2]}')
[ "$w" = 893 ] && [ "$h" = 661 ] || e2e_fail "the settings window is ${w}x${h} at 1920x1080"
read -r wx wy < <(window_origin "$win")
e2e_click $((wx + 526 * 1080 / 768)) $((wy + 427 * 1080 / 768))
e2e_wait_closed "$TITLE" 10 "the blown-up exit button left the window open"
e2e_click 1878 39 # the exit button, at table (1335, 28)
e2e_wait_exit 10
echo "PASS: startup and settings"
