#!/usr/bin/env bash
# A whole hand played with the mouse on the real table: the manual seat's
# tiles are clicked, the game is left in the middle of the hand and started
# again; the resumed hand waits for the same seat, whose hand is arranged
# with the options menu ("Girar fichas" chosen with a left click on the entry,
# "Ordenar fichas" with the right button held from the hand to the entry and
# released there), and the saved file holds the arranged hand. Resumed once
# more, the hand is played to its end.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT
# Seed 26: seat 4 gets four turns before the hand ends, and the tile it lays
# at its second fits both ends, so the end arrows are clicked.
export TARVELIS_TEST_SEED=26

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"
e2e_start_match

# Seat 4's hand in the saved file, one "slot pipA pipB state" line per slot.
# The file holds no log line in the first hand: the settings and match lines,
# two end lines, the blocks of seats 1-3 (29 lines each), then seat 4's.
seat4_hand() {
  tr -d '\r' <"$E2E_INI" | awk -v start=$((2 + 2 + 3 * 29 + 1)) '
    NR > start && NR <= start + 28 { k = int((NR - start - 1) / 4) + 1; r = (NR - start - 1) % 4
      if (r == 1) a[k] = $1; if (r == 2) b[k] = $1; if (r == 3) st[k] = $1 }
    END { for (k = 1; k <= 7; ++k) print k, a[k], b[k], st[k] }'
}
# Starts the game again and resumes the hand left; seat 4 must wait as it did.
resume() {
  rm -f "$TARVELIS_TEST_STATUS"
  e2e_start_game
  dialog=$(e2e_wait_window "Continuar la partida anterior" 20) || e2e_fail "no resumed hand"
  e2e_key "$dialog" Return
  [ "$(e2e_advance)" = turn ] || e2e_fail "the resumed hand did not wait for seat 4"
  [ "$(e2e_status)" = "$waiting" ] || e2e_fail "resumed at '$(e2e_status)', left at '$waiting'"
}

# Three turns of seat 4, then leave in the middle of the hand.
for turn in 1 2 3; do
  [ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got turn $turn"
  e2e_play_my_turn "$(e2e_status)"
done
[ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got its fourth turn"
[ "$E2E_ARROWS" = 1 ] || e2e_fail "the end arrows were clicked $E2E_ARROWS times, not once"
waiting=$(e2e_status)
e2e_leave
grep -q '#TRUE#,#TRUE#' "$E2E_INI" || e2e_fail "the hand in progress was not saved"
seat4_hand >"$E2E_DIR/before"
resume

# Three held tiles: the first that is not a double is turned, two others
# change places.
mapfile -t held < <(awk '$4 == 0 { print $1, $2, $3 }' "$E2E_DIR/before")
[ "${#held[@]}" = 4 ] || e2e_fail "seat 4 holds ${#held[@]} tiles, not 4"
turn=""
for h in "${held[@]}"; do
  read -r k a b <<<"$h"
  [ "$a" != "$b" ] && { turn=$k; break; }
done
[ -n "$turn" ] || e2e_fail "seat 4 holds doubles alone"
others=()
for h in "${held[@]}"; do read -r k _ _ <<<"$h"; [ "$k" != "$turn" ] && others+=("$k"); done
from=${others[0]}
to=${others[1]}

# The menu opens at the pointer, moved up to stay on the table: its two
# entries, 18 pixels apart, "Ordenar fichas" first.
entry_y() { echo $((600 - 2 * 18 - 6 + 18 * ($1 - 1) + 10)); }
# A right click opens the menu; a left click on "Girar fichas" chooses it.
x=$(e2e_tile_x "$turn")
e2e_move "$x" $E2E_TILE_Y
xdotool click 3
e2e_wait_open "menu 1" || e2e_fail "a right click opened no menu"
e2e_move $((x + 60)) "$(entry_y 2)"
xdotool click 1
e2e_wait_open "turn 1" || e2e_fail "\"Girar fichas\" was not chosen"
e2e_open_has "menu 0" || e2e_fail "the menu stayed up"
e2e_click_settled "$x" $E2E_TILE_Y # turns the tile
# Right button held from the hand to "Ordenar fichas" and released there.
x=$(e2e_tile_x "$from")
e2e_move "$x" $E2E_TILE_Y
xdotool mousedown 3
e2e_wait_open "menu 1" || e2e_fail "the right button opened no menu"
e2e_move $((x + 30)) $E2E_TILE_Y
e2e_move $((x + 60)) "$(entry_y 1)"
xdotool mouseup 3
e2e_wait_open "order 1" || e2e_fail "\"Ordenar fichas\" was not chosen"
e2e_open_has "menu 0" || e2e_fail "the menu stayed up"
# Drag the tile onto the other one.
e2e_move "$x" $E2E_TILE_Y
xdotool mousedown 1
e2e_wait_open "drag 1" || e2e_fail "no drag began"
e2e_move $((x + 10)) $E2E_TILE_Y
e2e_move "$(e2e_tile_x "$to")" $E2E_TILE_Y
xdotool mouseup 1
e2e_wait_open "drag 0" || e2e_fail "the drag went on after the drop"
[ "$(e2e_status)" = "$waiting" ] || e2e_fail "the clicks moved the game on: '$(e2e_status)'"
e2e_leave
seat4_hand >"$E2E_DIR/after"
pips() { awk -v k="$2" '$1 == k { print $2, $3 }' "$1"; }
read -r ta tb <<<"$(pips "$E2E_DIR/before" "$turn")"
[ "$(pips "$E2E_DIR/after" "$turn")" = "$tb $ta" ] ||
  e2e_fail "the tile of slot $turn was not turned: $(pips "$E2E_DIR/after" "$turn")"
[ "$(pips "$E2E_DIR/after" "$from")" = "$(pips "$E2E_DIR/before" "$to")" ] &&
  [ "$(pips "$E2E_DIR/after" "$to")" = "$(pips "$E2E_DIR/before" "$from")" ] ||
  e2e_fail "slots $from and $to did not change places"

# Play the hand to its end.
resume
for _ in $(seq 30); do
  case "$(e2e_advance)" in
    turn) e2e_play_my_turn "$(e2e_status)" ;;
    end) break ;;
    *) e2e_fail "the hand got stuck at '$(e2e_status)'" ;;
  esac
done
e2e_window_exists "Final de este juego" || e2e_window_exists "C i e r r e" || e2e_fail "the hand did not end"
echo "PASS: play a hand, arranged with the options menu"
