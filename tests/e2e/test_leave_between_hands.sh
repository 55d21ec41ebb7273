#!/usr/bin/env bash
# Leaving at the "Continuar" notice after a hand and starting again: the
# match goes on with the next hand, the score is on the table from the start,
# and the finished hand's log line is in the file.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
# Every seat automatic, no pause, no sound, full speed: hands play themselves.
# A target no two hands can reach, so the match is still on after them.
e2e_first_start 'NR == 1 { $9 = 2; $12 = 2; $20 = 1 } NR == 2 { $1 = 500; $2 = 100 }'
# The score button.
score_crop() { import -window root -crop 38x46+760+80 +repage "$E2E_DIR/$1.png"; }

# Accepts every message until the table waits at "Continuar" after hand $1.
play_to_hand_end() {
  local dialog title end=$((SECONDS + 150))
  while [ $SECONDS -lt $end ]; do
    for title in "Comienza la Partida" "C i e r r e" "Final de este juego"; do
      if dialog=$(e2e_wait_window "$title" 0); then e2e_key "$dialog" Return; fi
    done
    [[ "$(e2e_status)" =~ ^notice\ Continuar\ hand\ $1\  ]] && return 0
    sleep 0.1
  done
  e2e_fail "hand $1 did not end: '$(e2e_status)'"
}
match_line() { tr -d '\r' <"$E2E_INI" | sed -n 2p; }
log_lines() { tr -d '\r' <"$E2E_INI" | awk -F, 'NR > 2 && NF == 13' ; }

e2e_start_game
table=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table on the second start"
sleep 0.5
score_crop score-none # no match yet: "0" and "0"
e2e_key "$table" space
play_to_hand_end 1
sleep 0.5
score_crop score-left
e2e_screenshot between-hands-left
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
e2e_screenshot between-hands-resumed
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
echo "PASS: leaving between hands keeps the match"
