# Helpers for the end-to-end scripts: a private X server, the real binary in a
# fresh program folder, and a few xdotool waits.
set -euo pipefail

E2E_BUILD=${1:-build}
# The game deals from this seed instead of the clock (each script that plays
# sets its own, chosen for the deal it needs), so every run meets the same hands.
export TARVELIS_TEST_SEED=${TARVELIS_TEST_SEED:-1}
E2E_BIN_SRC="$E2E_BUILD/src/tarvelis"
E2E_ARTEFACTS="$E2E_BUILD/e2e-artefacts"
mkdir -p "$E2E_ARTEFACTS"

e2e_fail() {
  echo "FAIL: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$E2E_ARTEFACTS/failure-$(basename "$0" .sh).png" 2>/dev/null
  exit 1
}

# Starts a private Xvfb with a screen of $1 (e.g. 800x600x24). The server picks
# its own free display and writes its number to a pipe (-displayfd), so two
# scripts started at the same moment never race for the same display. Without
# -noreset the server resets when its last client leaves, and a game started
# again in that moment cannot connect.
e2e_start_x() {
  local screen=$1 fifo n=""
  fifo=$(mktemp -u /tmp/tarvelis-xfd.XXXXXX)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  E2E_XPID=$!
  read -r -t 20 n <"$fifo" || true
  rm -f "$fifo"
  [ -n "$n" ] || e2e_fail "no X server could be started"
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  e2e_fail "the X server on $DISPLAY does not answer"
}

e2e_stop_x() {
  [ -n "${E2E_GPID:-}" ] && kill "$E2E_GPID" 2>/dev/null || true
  [ -n "${E2E_XPID:-}" ] && kill "$E2E_XPID" 2>/dev/null || true
  wait 2>/dev/null || true
  E2E_GPID=
  E2E_XPID=
}

# Stops everything and removes the scratch folder (kept with E2E_KEEP=1).
e2e_cleanup() {
  e2e_stop_x
  if [ -n "${E2E_DIR:-}" ] && [ -f "$E2E_DIR/stdout.log" ]; then
    cp "$E2E_DIR/stdout.log" "$E2E_ARTEFACTS/$(basename "$0" .sh)-game.log"
  fi
  [ -n "${E2E_DIR:-}" ] && [ -z "${E2E_KEEP:-}" ] && rm -rf "$E2E_DIR"
  return 0
}

# A fresh program folder holding a copy of the game: its data files go there.
e2e_fresh_folder() {
  E2E_DIR=$(mktemp -d /tmp/tarvelis-e2e.XXXXXX)
  cp "$E2E_BIN_SRC" "$E2E_DIR/tarvelis"
}

# Starts the game and, as a player in a hurry does, closes the start-up cover.
e2e_start_game() {
  QT_QPA_PLATFORM=xcb "$E2E_DIR/tarvelis" >>"$E2E_DIR/stdout.log" 2>&1 &
  E2E_GPID=$!
  e2e_close_cover
}

# Waits for the start-up cover and closes it: with a key, or with a click
# when E2E_COVER_CLICK is set.
e2e_close_cover() {
  local cover cx cy
  cover=$(e2e_wait_window "Presentación de TARVELIS" 30) || e2e_fail "no start-up cover"
  if [ -z "${E2E_COVER_CLICK:-}" ]; then e2e_key "$cover" Escape; return; fi
  sleep 0.5
  read -r cx cy < <(xdotool getwindowgeometry "$cover" |
    awk '/Position/ {split($2, a, ","); print a[1] + 20, a[2] + 20}')
  e2e_click "$cx" "$cy"
}

# Waits up to $2 seconds for a window whose title is $1; prints its id.
e2e_wait_window() {
  local title=$1 limit=${2:-20} id
  for _ in $(seq $((limit * 10 + 1))); do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

e2e_window_exists() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Types a key into a window (no window manager: focus it directly).
e2e_key() {
  sleep 0.3  # a window just mapped may not take keys yet
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  xdotool key "$2"
}

# Clicks at (x, y) of the screen.
# xdotool's --sync waits for the pointer to be seen moving, and a pointer
# already on the spot may never be: each wait is bounded, so two clicks on the
# same control never hang a script.
e2e_move() { timeout 5 xdotool mousemove --sync "$1" "$2" || xdotool mousemove "$1" "$2"; }
e2e_click() {
  e2e_move "$1" "$2"
  xdotool click 1
}

# Waits up to $1 seconds for the game to end; fails when it does not.
e2e_wait_exit() {
  local limit=${1:-10}
  for _ in $(seq $((limit * 10))); do
    kill -0 "$E2E_GPID" 2>/dev/null || { wait "$E2E_GPID" || true; E2E_GPID=; return 0; }
    sleep 0.1
  done
  e2e_fail "the game did not end"
}

e2e_screenshot() { import -window root "$E2E_ARTEFACTS/$1.png"; }

# Waits up to $2 seconds for the window titled $1 to go; fails with $3.
e2e_wait_closed() {
  for _ in $(seq $((${2:-5} * 10))); do e2e_window_exists "$1" || return 0; sleep 0.1; done
  e2e_fail "$3"
}

# The first start in the fresh folder writes the default settings and says
# so; the game is left at once. Then the settings file's fields are changed
# with e2e_set_ini $1.
e2e_first_start() {
  local dialog
  E2E_INI="$E2E_DIR/TARVE32.INI"
  export TARVELIS_TEST_STATUS="$E2E_DIR/status"
  e2e_start_game
  dialog=$(e2e_wait_window "Error en la carga de datos iniciales" 20) || e2e_fail "no first start"
  e2e_key "$dialog" Return
  e2e_wait_window "TARVELIS" 10 >/dev/null || e2e_fail "no table"
  e2e_click 770 28
  e2e_wait_exit 10
  e2e_set_ini "$1"
}
# Changes the settings file's fields with the awk program $1 (FS and OFS are
# commas): line 1 holds the seats' and the rules' settings, line 2 the target
# and the speed.
e2e_set_ini() {
  awk "BEGIN { FS = OFS = \",\" } $1 { print }" "$E2E_INI" >"$E2E_INI.new"
  mv "$E2E_INI.new" "$E2E_INI"
}
# No pause between moves, no sound, full speed; seat 4 by hand (the default).
E2E_QUICK='NR == 1 { $9 = 2; $12 = 2 } NR == 2 { $2 = 100 }'

# Starts the game and a match with a key on the table, whose window id is
# left in E2E_TABLE.
e2e_start_match() {
  e2e_start_game
  E2E_TABLE=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table"
  sleep 0.3
  e2e_key "$E2E_TABLE" space # any key starts a match when none is in progress
}

# Leaves the game in the middle of a match, agreeing to put it off.
e2e_leave() {
  local dialog
  e2e_click 770 28
  dialog=$(e2e_wait_window "Posponer la partida en curso" 10) || e2e_fail "leaving did not ask"
  e2e_key "$dialog" Return
  e2e_wait_exit 10
}

# What the game reports through TARVELIS_TEST_STATUS, and one of its fields.
e2e_status() { cat "$TARVELIS_TEST_STATUS" 2>/dev/null || true; }
e2e_field() { e2e_status | awk -v k="$1" '{ for (i = 1; i < NF; i++) if ($i == k) print $(i + 1) }'; }

# Waits up to $2 seconds (20 unless told) for the status to match the pattern $1.
e2e_wait_status() {
  for _ in $(seq $((${2:-20} * 10))); do
    [[ "$(e2e_status)" =~ $1 ]] && return 0
    sleep 0.1
  done
  return 1
}

# Where seat 4's tile in slot $1 is clicked on an 800 x 600 table.
e2e_tile_x() { echo $((246 + 44 * ($1 - 1) + 22)); }
E2E_TILE_Y=560

# Plays seat 4's turn, whose status was $1: a click on each tile in turn
# (only a playable one is taken, and when it fits both ends the arrow of end
# 1 is clicked, counted in E2E_ARROWS), then the continue button when none
# could be (a pass).
E2E_ARROWS=0
e2e_play_my_turn() {
  local before=$1 slot now x y
  for slot in 1 2 3 4 5 6 7; do
    e2e_click "$(e2e_tile_x $slot)" $E2E_TILE_Y
    sleep 0.2
    now=$(e2e_status)
    case "$now" in
      "arrows "*)
        read -r _ _ _ _ x y _ <<<"$now"
        sleep 0.3
        e2e_click $((x + 16)) $((y + 16))
        E2E_ARROWS=$((E2E_ARROWS + 1))
        return 0 ;;
    esac
    [ "$now" != "$before" ] && return 0
  done
  e2e_click 688 550
}

# Answers the opening message until seat 4 is to move or the hand ends.
# Prints "turn", "end" or "stuck".
e2e_advance() {
  local dialog title
  for _ in $(seq 600); do
    for title in "Comienza la Partida" "C i e r r e" "Final de este juego"; do
      if dialog=$(e2e_wait_window "$title" 0); then
        [ "$title" = "Comienza la Partida" ] || { echo end; return; }
        e2e_key "$dialog" Return
      fi
    done
    case "$(e2e_status)" in
      "notice Jugador4 "*) echo turn; return ;;
    esac
    sleep 0.1
  done
  echo stuck
}
