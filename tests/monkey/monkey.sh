#!/usr/bin/env bash
# A seeded random player: real clicks, double clicks, right clicks, keys,
# typing and window closes on the real game under Xvfb for a minute or so,
# with the game ended now and then by its exit button, SIGTERM or kill -9 and
# started again. Fails on a crash (an exit status other than 0), a hang (the
# game does not end within 10 s of SIGTERM) or a data file that no longer
# loads (a load error at the next start, or a damaged copy kept).
#
#   tests/monkey/monkey.sh BUILD [SEED] [SECONDS]
#
# The same seed replays the same actions on the same deals; what the game is
# doing when each lands depends on timing. The actions are logged to
# BUILD/e2e-artefacts/monkey-actions.log.
source "$(dirname "$0")/../e2e/lib.sh"
trap e2e_cleanup EXIT

SEED=${2:-1}
TOTAL=${3:-75}
RANDOM=$SEED
# The game's deals follow the same seed, so a seed replays the same hands too.
export TARVELIS_TEST_SEED=$SEED
CLOSE="$(dirname "$0")/close_window.py"
LOG="$E2E_ARTEFACTS/monkey-actions.log"
KEYS=(Return Escape space plus F1 g a n s Tab Left Right Up Down Prior Next BackSpace Delete)
WORDS=(qvxn1fondo.png Ana "Jugador 5" partida "" "a b c" zzzzzzzzzzzzzzzzzzzzzzzzzz)
: >"$LOG"
say() { echo "$*" >>"$LOG"; }

# The game ended: only a status of 0 is a normal end.
ended() {
  local rc=0
  wait "$E2E_GPID" || rc=$?
  E2E_GPID=
  [ "$rc" = 0 ] || e2e_fail "the game ended with status $rc (seed $SEED, see $LOG)"
}

# Starts the game; its settings must load without a word.
start() {
  : >"$TARVELIS_TEST_STATUS"
  e2e_start_game
  for _ in $(seq 200); do
    e2e_window_exists "Error en la carga de datos iniciales" &&
      e2e_fail "the data file no longer loads (seed $SEED, see $LOG)"
    e2e_window_exists TARVELIS && break
    sleep 0.1
  done
  [ -e "$E2E_DIR/TARVE32.INI.damaged" ] && e2e_fail "a damaged file was kept (seed $SEED)"
  say "start"
}

# Ends the run its own way: SIGTERM must end it cleanly within 10 s.
stop() {
  case $((RANDOM % 3)) in
    0) say "kill -9"; kill -9 "$E2E_GPID"; wait "$E2E_GPID" 2>/dev/null || true; E2E_GPID= ;;
    *) say "SIGTERM"
       kill -TERM "$E2E_GPID"
       for _ in $(seq 100); do kill -0 "$E2E_GPID" 2>/dev/null || break; sleep 0.1; done
       kill -0 "$E2E_GPID" 2>/dev/null && e2e_fail "hang: SIGTERM did not end the game (seed $SEED)"
       ended ;;
  esac
}

act() {
  local r=$((RANDOM % 100)) x=$((RANDOM % 800)) y=$((RANDOM % 600)) win
  if [ $r -lt 50 ]; then
    say "click $x $y"; e2e_move $x $y; xdotool click 1
  elif [ $r -lt 56 ]; then
    say "double click $x $y"; e2e_move $x $y; xdotool click --repeat 2 --delay 80 1
  elif [ $r -lt 62 ]; then
    say "right click $x $y"; e2e_move $x $y; xdotool click 3
  elif [ $r -lt 82 ]; then
    local key=${KEYS[$((RANDOM % ${#KEYS[@]}))]}
    say "key $key"; xdotool key "$key"
  elif [ $r -lt 88 ]; then
    local word=${WORDS[$((RANDOM % ${#WORDS[@]}))]}
    say "type '$word'"; xdotool type --delay 15 "$word"
  elif [ $r -lt 94 ]; then
    win=$(xdotool search --onlyvisible --pid "$E2E_GPID" 2>/dev/null | tail -n1 || true)
    say "close $win"; [ -n "$win" ] && python3 "$CLOSE" "$win"
  else
    say "exit button"; e2e_click 770 28; sleep 0.3; xdotool key Return
  fi
}

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"
say "seed $SEED"
deadline=$((SECONDS + TOTAL))
actions=0
runs=0
while [ $SECONDS -lt $deadline ]; do
  start
  runs=$((runs + 1))
  run_end=$((SECONDS + 8 + RANDOM % 10))
  while [ $SECONDS -lt $run_end ] && [ $SECONDS -lt $deadline ]; do
    kill -0 "$E2E_GPID" 2>/dev/null || break
    act
    actions=$((actions + 1))
    sleep "0.$((RANDOM % 3))"
  done
  if kill -0 "$E2E_GPID" 2>/dev/null; then stop; else say "ended"; ended; fi
done
# The files left by the last run load too.
start
stop
echo "PASS: $actions random actions over $runs runs (seed $SEED)"
