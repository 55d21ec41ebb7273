#!/usr/bin/env bash
# "Analizar la mano" with the real mouse: seat 4 lays the first tile that
# fits against three computer seats; at its turns late in a hand the recorder
# is switched on and the review chosen from the options menu, the recorder
# steps back while it runs, and the list must show marks. A hand without a
# marked move is played on and reviewed again, hand after hand.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
export TARVELIS_TEST_STATUS="$E2E_DIR/status"
e2e_start_game
dialog=$(e2e_wait_window "Error en la carga de datos iniciales" 20) || e2e_fail "no first start"
e2e_key "$dialog" Return
e2e_wait_window "TARVELIS" 10 >/dev/null || e2e_fail "no table"
e2e_click 770 28
e2e_wait_exit 10
# No pause, no sound, full speed; seat 4 by hand.
ini="$E2E_DIR/TARVE32.INI"
awk 'BEGIN { FS = OFS = "," } NR == 1 { $9 = 2; $12 = 2 } NR == 2 { $2 = 100 } { print }' \
  "$ini" >"$ini.new" && mv "$ini.new" "$ini"

status() { cat "$TARVELIS_TEST_STATUS" 2>/dev/null || true; }
# The file is rewritten in place: an empty read is tried again.
field() {
  local v
  for _ in $(seq 20); do
    v=$(status | awk -v k="$1" '{ for (i = 1; i < NF; i++) if ($i == k) { print $(i + 1); exit } }')
    [ -n "$v" ] && { echo "$v"; return; }
    sleep 0.05
  done
}
wait_status() {
  for _ in $(seq "${2:-200}"); do [[ "$(status)" =~ $1 ]] && return 0; sleep 0.1; done
  e2e_fail "waited for '$1', the game says '$(status)'"
}
# The pointer leaves first: a synced move to where it already is never ends.
click() { xdotool mousemove 400 420; e2e_click "$1" "$2"; }
switch() { click 767 536; }
back() {
  local target=$(($(field move) - 1))
  click 756 555
  wait_status "^recorder move $target " 50
}

play_my_turn() {
  local before=$1 slot now
  for slot in 1 2 3 4 5 6 7; do
    click $((246 + 44 * (slot - 1) + 22)) 560
    sleep 0.2
    now=$(status)
    if [[ "$now" =~ ^arrows ]]; then
      read -r _ _ _ _ x y _ <<<"$now"
      sleep 0.3
      click $((x + 16)) $((y + 16))
      return 0
    fi
    [ "$now" != "$before" ] && return 0
  done
  click 688 550
}

# Answers the engine, the end of a hand and of a match (a new one is started
# with a key), until seat 4 is to move.
advance() {
  local dialog title
  for _ in $(seq 900); do
    for title in "Comienza la Partida" "C i e r r e" "Final de este juego" "Final de Partida" \
      "Histórico de partidas jugadas"; do
      if dialog=$(e2e_wait_window "$title" 0); then
        e2e_key "$dialog" Return
        [[ "$title" =~ ^Hist ]] && { sleep 1; e2e_key "$table" space; }
      fi
    done
    case "$(status)" in
      "notice Jugador4 "*) return 0 ;;
      "notice Continuar "*) click 688 550; sleep 0.5 ;;
    esac
    sleep 0.1
  done
  e2e_fail "seat 4 never got its turn: '$(status)'"
}

e2e_start_game
table=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table"
sleep 0.3
e2e_key "$table" space
for _ in $(seq 120); do
  advance
  if [ "$(field move)" -ge 16 ]; then
    switch
    wait_status "^recorder .* review (none|partial) "
    # The menu at the pointer: three saved-games entries, then the review.
    xdotool mousemove 400 420 mousemove --sync 300 150 click 3
    sleep 0.4
    started=$(date +%s%3N)
    click 340 $((150 + 18 * 3 + 10))
    wait_status "^recorder .* review (running|done) " 50
    [[ "$(status)" =~ review\ running ]] && back  # the table answers meanwhile
    wait_status "^recorder .* review done " 600
    ms=$(($(date +%s%3N) - started))
    echo "reviewed $(field lines) moves in $ms ms: $(field marks) marked"
    [ "$ms" -lt 5000 ] || e2e_fail "the review took $ms ms"
    if [ "$(field marks)" -gt 0 ]; then
      # Back to the first marked move: the line over the list names the best.
      first=$(field first)
      while [ "$(field selected)" -gt "$first" ]; do back; done
      sleep 0.5
      e2e_screenshot review-marks
      echo "PASS: the review of a hand marks its mistakes"
      exit 0
    fi
    switch
    wait_status "^notice Jugador4 " 100
  fi
  play_my_turn "$(status)"
done
e2e_fail "no hand showed a marked move"
