#!/usr/bin/env bash
# "Analizar la mano" with the real mouse: seat 4 plays by hand (the script
# lays the first tile that fits, with no thought) against three computer
# seats at their default levels; at seat 4's turns late in a hand the recorder
# is switched on, the options menu opened with a right click and the review
# chosen; while it runs the recorder steps back, and once it is done the list
# must show marks. A hand where nobody gave up a ten is played on and
# reviewed again, hand after hand, up to a few hands.
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
awk 'BEGIN { FS = OFS = "," }
     NR == 1 { $9 = 2; $12 = 2 }
     NR == 2 { $2 = 100 }
     { print }' "$ini" >"$ini.new" && mv "$ini.new" "$ini"

status() { cat "$TARVELIS_TEST_STATUS" 2>/dev/null || true; }
# A field of the status; the file is rewritten in place, so an empty read is
# tried again.
field() {
  local v
  for _ in $(seq 20); do
    v=$(status | awk -v k="$1" '{ for (i = 1; i < NF; i++) if ($i == k) { print $(i + 1); exit } }')
    [ -n "$v" ] && { echo "$v"; return; }
    sleep 0.05
  done
}
now_ms() { date +%s%3N; }

wait_status() {
  local limit=${2:-200}
  for _ in $(seq "$limit"); do
    [[ "$(status)" =~ $1 ]] && return 0
    sleep 0.1
  done
  e2e_fail "waited for '$1', the game says '$(status)'"
}

# Every click moves the pointer away first: a synced move to where the
# pointer already is waits for a motion that never comes.
click() {
  xdotool mousemove 400 420
  e2e_click "$1" "$2"
}

panel() {
  case $1 in
    switch) click 767 536 ;;
    back) click 756 555 ;;
  esac
}

play_my_turn() {
  local before=$1 slot now
  for slot in 1 2 3 4 5 6 7; do
    click $((246 + 44 * (slot - 1) + 22)) 560
    sleep 0.2
    now=$(status)
    case "$now" in
      "arrows "*)
        read -r _ _ _ _ x y _ <<<"$now"
        sleep 0.3
        click $((x + 16)) $((y + 16))
        return 0 ;;
    esac
    [ "$now" != "$before" ] && return 0
  done
  click 688 550
}

# Answers the engine until seat 4 is to move ("turn") or a hand ends ("end").
advance() {
  local dialog title
  for _ in $(seq 600); do
    for title in "Comienza la Partida" "C i e r r e" "Final de este juego"; do
      if dialog=$(e2e_wait_window "$title" 0); then
        e2e_key "$dialog" Return
        [ "$title" = "Comienza la Partida" ] || { echo end; return; }
      fi
    done
    case "$(status)" in
      "notice Jugador4 "*) echo turn; return ;;
      "notice Continuar "*) click 688 550; sleep 0.5 ;;
    esac
    sleep 0.1
  done
  echo stuck
}

# Reviews the hand from the menu; prints the marks found and the wall time.
review() {
  local started elapsed
  panel switch
  wait_status "^recorder .* review (none|partial) "
  # The menu opens at the pointer on the bare table: the three saved-games
  # entries, then "Analizar la mano", 18 pixels apart.
  xdotool mousemove 400 420
  xdotool mousemove --sync 300 150 click 3
  sleep 0.4
  started=$(now_ms)
  click 340 $((150 + 18 * 3 + 10))
  wait_status "^recorder .* review (running|done) " 50
  if [[ "$(status)" =~ review\ running ]]; then
    # The table answers while the review runs.
    target=$(($(field live) - 1))
    panel back
    wait_status "^recorder move $target .* review (running|done) " 50
  fi
  wait_status "^recorder .* review done " 600
  elapsed=$(($(now_ms) - started))
  echo "$(field marks) $elapsed $(field lines)"
}

e2e_start_game
table=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table"
sleep 0.3
e2e_key "$table" space

found=0
for _ in $(seq 120); do
  case "$(advance)" in
    turn) ;;
    end) continue ;;
    *) e2e_fail "the hand got stuck at '$(status)'" ;;
  esac
  if [ "$(field move)" -ge 16 ]; then
    read -r marks ms lines <<<"$(review)"
    echo "reviewed $lines moves in $ms ms: $marks marked"
    [ "$ms" -lt 5000 ] || e2e_fail "the review of $lines moves took $ms ms"
    if [ "$marks" -gt 0 ]; then
      found=1
      # Back to the first marked move: the line above the list names the
      # better move.
      first=$(field first)
      while [ "$(field selected)" -gt "$first" ]; do
        target=$(($(field move) - 1))
        panel back
        wait_status "^recorder move $target " 50
      done
      [[ "$(status)" =~ \ selected\ $first\  ]] || e2e_fail "the marked line is not selected: '$(status)'"
      sleep 0.5
      e2e_screenshot review-marks
      break
    fi
    panel switch
    wait_status "^notice Jugador4 " 100
  fi
  play_my_turn "$(status)"
done
[ "$found" = 1 ] || e2e_fail "no hand showed a marked move"
echo "PASS: the review of a hand marks its mistakes"
