#!/usr/bin/env bash
# A match played by four automatic seats on the real table. Left at the
# "Continuar" notice after a hand and started again, it goes on with the next
# hand, the score is on the table from the start, and the finished hands' log
# lines are in the file. With its target then lowered, a later hand ends it;
# it is kept in the history, and the history viewer opened from the score
# report shows it and its totals. Also: the start-up cover closes
# on a click.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
# Seed 2: neither of the first two hands is a tie or ends the match; with the
# target lowered after them, the third ends it.
export TARVELIS_TEST_SEED=2
# The first start writes the default settings; a click closes the cover.
# Then every seat automatic, no pause, no sound, full speed: hands play
# themselves.
E2E_COVER_CLICK=1 e2e_first_start 'NR == 1 { $9 = 2; $12 = 2; $20 = 1 } NR == 2 { $2 = 100 }'
# The score button.
score_crop() { import -window root -crop 38x46+760+80 +repage "$E2E_DIR/$1.png"; }

play_to_hand_end() { e2e_play_to_hand_end "$1"; }
match_line() { tr -d '\r' <"$E2E_INI" | sed -n 2p; }
log_lines() { tr -d '\r' <"$E2E_INI" | awk -F, 'NR > 2 && NF == 13' ; }

e2e_start_game
table=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table on the second start"
score_crop score-none # no match yet: "0" and "0"
e2e_key "$table" space
play_to_hand_end 1
score_crop score-left
e2e_leave
# In play and between hands; the file counts the coming hand, 2, and holds
# the log line of hand 1.
IFS=, read -r _ _ match hand_on hand_no _ <<<"$(match_line)"
[ "$match,$hand_on,$hand_no" = "#TRUE#,#FALSE#,2" ] || e2e_fail "saved as: $(match_line)"
[ "$(log_lines | wc -l)" = 1 ] || e2e_fail "the finished hand's log line is missing"
first_log=$(log_lines)

rm -f "$TARVELIS_TEST_STATUS"
e2e_start_game
dialog=$(e2e_wait_window "Continuar la partida anterior" 20) || e2e_fail "the match was not resumed"
score_crop score-resumed
differs() { compare -metric AE -fuzz 10% "$E2E_DIR/$1.png" "$E2E_DIR/$2.png" null: 2>&1 || true; }
[ "$(differs score-left score-resumed)" -le 4 ] || e2e_fail "the score shown after the start differs"
[ "$(differs score-none score-resumed)" -gt 20 ] || e2e_fail "the score is not drawn at the start"
e2e_key "$dialog" Return

# The next hand is dealt and played; it ends as hand 2.
play_to_hand_end 2
e2e_leave
IFS=, read -r _ _ match hand_on hand_no _ <<<"$(match_line)"
[ "$match,$hand_on,$hand_no" = "#TRUE#,#FALSE#,3" ] || e2e_fail "saved as: $(match_line)"
[ "$(log_lines | wc -l)" = 2 ] || e2e_fail "the log does not hold both hands"
[ "$(log_lines | head -n1)" = "$first_log" ] || e2e_fail "hand 1's log line changed"

# The target lowered to one ten above the leading pair's total (the log
# lines' third and fifth fields are the pairs' tens): the third hand ends the
# match. Every message is answered with yes and play goes on at every
# "Continuar" until the history question has been answered.
target=$(log_lines | awk -F, '{ a += $3; b += $5 } END { print (a > b ? a : b) + 1 }')
e2e_set_ini "NR == 2 { \$1 = $target }"
rm -f "$TARVELIS_TEST_STATUS"
e2e_start_game
asked=""
to_match_end() {
  e2e_answer "Continuar la partida anterior" "Comienza la Partida" "C i e r r e" \
    "Final de este juego" "Final de Partida" || true
  if e2e_answer "Histórico de partidas jugadas"; then
    asked=yes
    return 0
  fi
  case "$(e2e_status)" in
    "notice Continuar "*) rm -f "$TARVELIS_TEST_STATUS"; e2e_click 688 550 ;;
  esac
  return 1
}
e2e_until 60 to_match_end || true
[ -n "$asked" ] || e2e_fail "the match never asked to be kept in the history"

# One record of 63 bytes: the winners first, with points that reached the target.
his="$E2E_DIR/TARVE32.HIS"
e2e_until 5 test -s "$his" || true
[ "$(wc -c <"$his")" = 63 ] || e2e_fail "TARVE32.HIS holds $(wc -c <"$his") bytes"
record=$(head -c 61 "$his")
[ "${record:60:1}" = P ] || e2e_fail "not a pairs record: $record"
won=$((10#$(echo "${record:48:3}" | tr -d ' ')))
lost=$((10#$(echo "${record:51:3}" | tr -d ' ')))
[ "$won" -ge 1 ] && [ "$won" -gt "$lost" ] || e2e_fail "the winners do not come first: $record"

# The score button opens the score report, whose first button leads to the history.
e2e_click 779 103
report=$(e2e_wait_window "Marcador" 10) || e2e_fail "the score report did not open"
eval "$(xdotool getwindowgeometry --shell "$report")"
# The history button: the first of two 96-pixel buttons 24 apart, 14 from the bottom.
e2e_click $((X + (WIDTH - 216) / 2 + 48)) $((Y + HEIGHT - 14 - 14))
viewer=$(e2e_wait_window "Histórico de partidas" 10) || e2e_fail "no history viewer"
e2e_screenshot history-folder
read -r vx vy < <(xdotool getwindowgeometry "$viewer" |
  awk '/Position/ {split($2, a, ","); print a[1], a[2]}')
# The totals button, left of the exit button under the folder.
e2e_click_settled $((vx + 92 + 48)) $((vy + 26 + 14 + 290 + 14 + 14))
e2e_key "$viewer" Escape
e2e_wait_closed "Histórico de partidas" 5 "the viewer did not close"
e2e_key "$report" Escape
e2e_wait_closed "Marcador" 5 "the score report did not close"
e2e_click 770 28
e2e_wait_exit 10
echo "PASS: a match left between hands, finished and kept in the history"
