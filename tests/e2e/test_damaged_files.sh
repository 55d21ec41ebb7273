#!/usr/bin/env bash
# The real game started on files a user's machine can hold: a match whose move
# record the table could not draw, and a FIFO where the settings file goes.
# Neither may stop the game, and the damaged file is kept.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT
data="$(dirname "$0")/../data/damaged"

e2e_start_x 800x600x24
e2e_fresh_folder
cp "$data/cutout-oob-read-imagex-neg40.ini" "$E2E_DIR/TARVE32.INI"
e2e_start_game
dialog=$(e2e_wait_window "Error en la carga de datos iniciales" 20) ||
  e2e_fail "the dropped match was not reported"
e2e_key "$dialog" Return
e2e_wait_window "TARVELIS" 10 >/dev/null || e2e_fail "no table window"
# A click on the bare table, once dealt with, finds the game at rest: the
# question to resume would have come before it.
e2e_click_settled 400 250
e2e_window_exists "Continuar la partida anterior" && e2e_fail "the damaged match was resumed"
e2e_open_has "window Continuar la partida anterior" && e2e_fail "the damaged match was resumed"
cmp -s "$data/cutout-oob-read-imagex-neg40.ini" "$E2E_DIR/TARVE32.INI.damaged" ||
  e2e_fail "the damaged file was not kept"
e2e_click 770 28
e2e_wait_exit 10
sed -n 2p "$E2E_DIR/TARVE32.INI" | grep -q '#FALSE#,#FALSE#' ||
  e2e_fail "the match was written back"

# A FIFO is refused at once instead of blocking the start.
rm "$E2E_DIR/TARVE32.INI"
mkfifo "$E2E_DIR/TARVE32.INI"
e2e_start_game
dialog=$(e2e_wait_window "Error en la carga de datos iniciales" 20) ||
  e2e_fail "the game blocked on a FIFO"
e2e_key "$dialog" Return
e2e_wait_window "TARVELIS" 10 >/dev/null || e2e_fail "no table window after the FIFO"
e2e_click 770 28
e2e_wait_exit 10
echo "PASS: damaged files"
