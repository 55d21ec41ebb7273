# Helpers for the end-to-end scripts: a private X server, the real binary in a
# fresh program folder, and waits on what the game says of itself.
#
# Every wait is on a state, with a bound: a window on the screen, a line of
# the game's status file (where the table waits for the user), a line of the
# open file beside it (the windows the game has drawn, the menu, a drag, an
# animation, how many presses it has dealt with, the tiles the seat to move
# may play), a file written or a process gone. e2e_until is the one loop that
# polls them.
set -euo pipefail

E2E_BUILD=${1:-build}
# The game deals from this seed instead of the clock (each script that plays
# sets its own, chosen for the deal it needs), so every run meets the same hands.
export TARVELIS_TEST_SEED=${TARVELIS_TEST_SEED:-1}
E2E_BIN_SRC="$E2E_BUILD/src/tarvelis"
E2E_ARTEFACTS="$E2E_BUILD/e2e-artefacts"
mkdir -p "$E2E_ARTEFACTS"

# Runs "$@" until it succeeds, at most $1 seconds (a whole number; 0 tries
# once); returns 1 when it never did. It looks every E2E_POLL_MS
# milliseconds (100 unless told).
e2e_until() {
  local limit=$1 try tries every=${E2E_POLL_MS:-100} pause
  shift
  tries=$((limit * 1000 / every + 1))
  pause=$(printf '%d.%03d' $((every / 1000)) $((every % 1000)))
  for ((try = 1; try <= tries; try++)); do
    "$@" && return 0
    # Polls a state: the game's files, the X server's windows or a process.
    [ "$try" -lt "$tries" ] && sleep "$pause"
  done
  return 1
}

e2e_fail() {
  echo "FAIL: $*" >&2
  if [ -n "${TARVELIS_TEST_STATUS:-}" ]; then
    { echo "the game's status: $(e2e_status)"; echo "what it has open:"; e2e_open; } >&2
  fi
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
  e2e_until 5 e2e_x_answers || e2e_fail "the X server on $DISPLAY does not answer"
}

e2e_x_answers() { xdpyinfo >/dev/null 2>&1; }

# Processes the script started beside the game (servers, relays), stopped
# when the script ends: e2e_beside notes the last one started.
E2E_BESIDE=()
e2e_beside() { E2E_BESIDE+=("$!"); }

e2e_stop_x() {
  [ -n "${E2E_GPID:-}" ] && kill "$E2E_GPID" 2>/dev/null || true
  [ -n "${E2E_XPID:-}" ] && kill "$E2E_XPID" 2>/dev/null || true
  wait 2>/dev/null || true
  E2E_GPID=
  E2E_XPID=
}

# Stops everything and removes the scratch folder (kept with E2E_KEEP=1).
e2e_cleanup() {
  local pid
  for pid in "${E2E_BESIDE[@]}"; do kill "$pid" 2>/dev/null || true; done
  E2E_BESIDE=()
  e2e_stop_x
  if [ -n "${E2E_DIR:-}" ] && [ -f "$E2E_DIR/stdout.log" ]; then
    cp "$E2E_DIR/stdout.log" "$E2E_ARTEFACTS/$(basename "$0" .sh)-game.log"
  fi
  [ -n "${E2E_DIR:-}" ] && [ -z "${E2E_KEEP:-}" ] && rm -rf "$E2E_DIR"
  return 0
}

# A fresh program folder holding a copy of the game: its data files go there,
# and so do the game's status and open files.
e2e_fresh_folder() {
  E2E_DIR=$(mktemp -d /tmp/tarvelis-e2e.XXXXXX)
  cp "$E2E_BIN_SRC" "$E2E_DIR/tarvelis"
  export TARVELIS_TEST_STATUS="$E2E_DIR/status"
}

# Starts the game (with the arguments "$@") and, as a player in a hurry
# does, closes the start-up cover.
e2e_start_game() {
  QT_QPA_PLATFORM=xcb "$E2E_DIR/tarvelis" "$@" >>"$E2E_DIR/stdout.log" 2>&1 &
  E2E_GPID=$!
  e2e_close_cover
}

# Waits for the start-up cover and closes it: with a key, or with a click
# when E2E_COVER_CLICK is set.
e2e_close_cover() {
  local cover cx cy
  cover=$(e2e_wait_window "Presentación de TARVELIS" 30) || e2e_fail "no start-up cover"
  if [ -z "${E2E_COVER_CLICK:-}" ]; then e2e_key "$cover" Escape; return; fi
  read -r cx cy < <(xdotool getwindowgeometry "$cover" |
    awk '/Position/ {split($2, a, ","); print a[1] + 20, a[2] + 20}')
  e2e_click "$cx" "$cy"
}

# Waits up to $2 seconds for a window whose title is $1 and for the game to
# have drawn it (so it takes clicks and keys); prints its id.
e2e_wait_window() {
  local title=$1 limit=${2:-20}
  e2e_until "$limit" e2e_find_window "$title" || return 1
  e2e_wait_shown "$title" 10 || return 1
  echo "$E2E_FOUND"
}
e2e_find_window() {
  E2E_FOUND=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
  [ -n "$E2E_FOUND" ]
}

e2e_window_exists() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Types a key into a window (no window manager: focus it directly), once the
# game has drawn it: a window only mapped may not take keys yet.
e2e_key() {
  e2e_wait_shown "$(xdotool getwindowname "$1" 2>/dev/null || true)" 10 || true
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  xdotool key "$2"
}

# Types the text $2 into the window $1, once the game has drawn it.
e2e_type() {
  e2e_wait_shown "$(xdotool getwindowname "$1" 2>/dev/null || true)" 10 || true
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  xdotool type --delay 30 "$2"
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
# The same, the pointer coming from elsewhere, so that it is seen moving.
e2e_click_fresh() {
  xdotool mousemove 400 420
  e2e_click "$1" "$2"
}
# The top-left corner of the window $1 on the screen: "x y".
e2e_window_at() {
  xdotool getwindowgeometry "$1" | awk '/Position/ {split($2, a, ","); print a[1], a[2]}'
}

# Waits up to $1 seconds for the game to end; fails when it does not.
e2e_wait_exit() {
  e2e_until "${1:-10}" e2e_gone "$E2E_GPID" || e2e_fail "the game did not end"
  wait "$E2E_GPID" || true
  E2E_GPID=
}
e2e_gone() { ! kill -0 "$1" 2>/dev/null; }

e2e_screenshot() { import -window root "$E2E_ARTEFACTS/$1.png"; }

# Waits up to $2 seconds for the window titled $1 to go; fails with $3.
e2e_wait_closed() {
  e2e_until "${2:-5}" e2e_window_gone "$1" || e2e_fail "$3"
}
e2e_window_gone() { ! e2e_window_exists "$1"; }

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
e2e_wait_status() { e2e_until "${2:-20}" e2e_status_is "$1"; }
# The same, failing the script when it does not.
e2e_expect_status() {
  e2e_wait_status "$1" "${2:-20}" || e2e_fail "waited for '$1', the game says '$(e2e_status)'"
}
e2e_status_is() { [[ "$(e2e_status)" =~ $1 ]]; }
e2e_status_left() { [ "$(e2e_status)" != "$1" ]; }

# What the game reports in the open file beside the status, and one of its
# values (the rest of the first line that starts with the key $1).
e2e_open() { cat "$TARVELIS_TEST_STATUS.open" 2>/dev/null || true; }
e2e_open_field() {
  e2e_open | awk -v k="$1" '$1 == k { sub(/^[^ ]+ ?/, ""); print; exit }'
}
# Whether the open file holds the line $1 ("menu 1", "drag 0", "window Marcador").
e2e_open_has() { e2e_open | grep -qxF -- "$1"; }
# Waits up to $2 seconds (10 unless told) for the open file to hold the line $1.
e2e_wait_open() { e2e_until "${2:-10}" e2e_open_has "$1"; }
# Waits up to $2 seconds (10 unless told) for the game to have drawn the
# window titled $1.
e2e_wait_shown() { e2e_wait_open "window $1" "${2:-10}"; }
# A window other than the table is up: a message, a dialog.
e2e_other_window() { e2e_open | grep -q '^window ' && e2e_open | grep '^window ' | grep -vqxF 'window TARVELIS'; }

# Key and button presses the game has dealt with (a press on a window that a
# dialog blocks never reaches the game, and is not counted). e2e_mark notes
# the count before pressing; e2e_settled $1 then waits (up to $2 seconds, 10
# unless told) for $1 more (a click or a key is one), and marks again:
# whatever the presses did, it is done.
e2e_presses() { local n; n=$(e2e_open_field presses); echo "${n:-0}"; }
e2e_presses_reach() { [ "$(e2e_presses)" -ge "$1" ]; }
e2e_mark() {
  # At rest, every press the game took in is counted.
  e2e_rested 20 || e2e_fail "the game did not come to rest: '$(e2e_status)'"
  E2E_MARK=$(e2e_presses)
}
e2e_settled() {
  e2e_until "${2:-10}" e2e_presses_reach $((E2E_MARK + $1)) || return 1
  E2E_MARK=$(e2e_presses)
}
# Waits up to $1 seconds (10 unless told) for the game to rest after its
# last status line and its last press, so that what the line's wait drew is
# on the screen and every press is counted.
e2e_rested() { e2e_wait_open "rested 1" "${1:-10}"; }
# A picture of the screen as the last status line left it.
e2e_rested_screenshot() {
  e2e_rested || e2e_fail "the game did not rest at '$(e2e_status)' for the picture $1"
  e2e_screenshot "$1"
}

# A click at (x, y) that the game has dealt with.
e2e_click_settled() {
  e2e_mark
  e2e_click "$1" "$2"
  e2e_settled 1 || e2e_fail "the click at $1,$2 was not taken in"
}

# Where seat 4's tile in slot $1 is clicked on an 800 x 600 table.
e2e_tile_x() { echo $((246 + 44 * ($1 - 1) + 22)); }
E2E_TILE_Y=560

# The continue button on an 800 x 600 table.
E2E_CONTINUE_X=688
E2E_CONTINUE_Y=550

# Plays seat 4's turn, whose status was $1: a click on the first tile the
# game says the seat may play, or on the continue button when it may play
# none (a pass). When the tile fits both ends the arrow of end 1 is clicked,
# counted in E2E_ARROWS. Returns once the game has moved on: another status,
# or a message up.
E2E_ARROWS=0
e2e_play_my_turn() {
  local before=$1 slots now x y
  slots=$(e2e_open_field playable)
  if [ -n "$slots" ]; then
    e2e_click "$(e2e_tile_x "${slots%% *}")" "$E2E_TILE_Y"
  else
    e2e_click "$E2E_CONTINUE_X" "$E2E_CONTINUE_Y"
  fi
  e2e_until 30 e2e_moved_on "$before" || e2e_fail "seat 4's move was not taken: '$(e2e_status)'"
  now=$(e2e_status)
  case "$now" in
    "arrows "*)
      read -r _ _ _ _ x y _ <<<"$now"
      e2e_click $((x + 16)) $((y + 16))
      E2E_ARROWS=$((E2E_ARROWS + 1))
      e2e_until 30 e2e_moved_on "$now" || e2e_fail "the end arrow was not taken: '$(e2e_status)'" ;;
  esac
}
e2e_moved_on() { e2e_status_left "$1" || e2e_other_window; }

# Answers with Return whichever of the messages titled "$@" is up, and waits
# for it to go; false when none was up.
e2e_answer() {
  local title dialog answered=1
  for title in "$@"; do
    if dialog=$(e2e_wait_window "$title" 0); then
      e2e_key "$dialog" Return
      e2e_wait_closed "$title" 10 "the message '$title' stayed up"
      answered=0
    fi
  done
  return $answered
}

# Answers every message of the hands until the table waits at "Continuar"
# after hand $1 (a pattern), for at most $2 seconds (150 unless told).
e2e_play_to_hand_end() {
  e2e_until "${2:-150}" e2e_at_hand_end "$1" || e2e_fail "hand $1 did not end: '$(e2e_status)'"
}
e2e_at_hand_end() {
  e2e_answer "Comienza la Partida" "C i e r r e" "Final de este juego" || true
  e2e_status_is "^notice Continuar hand $1 "
}

# Answers the opening message until seat 4 is to move or the hand ends.
# Prints "turn", "end" or "stuck" (after a minute).
e2e_advance() {
  E2E_ADVANCED=stuck
  e2e_until 60 e2e_advance_step || true
  echo "$E2E_ADVANCED"
}
e2e_advance_step() {
  local dialog title
  for title in "Comienza la Partida" "C i e r r e" "Final de este juego"; do
    if dialog=$(e2e_wait_window "$title" 0); then
      [ "$title" = "Comienza la Partida" ] || { E2E_ADVANCED=end; return 0; }
      e2e_key "$dialog" Return
      e2e_wait_closed "$title" 10 "the message '$title' stayed up"
    fi
  done
  case "$(e2e_status)" in
    "notice Jugador4 "*) E2E_ADVANCED=turn; return 0 ;;
  esac
  return 1
}

# Plays seat 4's turns, at most $2 of them, until it waits at move $1 or
# later; fails when it never does.
e2e_play_to_move() {
  local turns
  for ((turns = 0; turns < $2; turns++)); do
    [ "$(e2e_advance)" = turn ] || e2e_fail "no turn of seat 4: '$(e2e_status)'"
    [ "$(e2e_field move | head -n1)" -ge "$1" ] && return 0
    e2e_play_my_turn "$(e2e_status)"
  done
  e2e_fail "no turn of seat 4 from move $1 on: '$(e2e_status)'"
}

# Puts off the hand in play and takes it up again at the game's slowest
# speed, once seat 4 waits.
e2e_resume_slowest() {
  local dialog
  e2e_leave
  e2e_set_ini 'NR == 2 { $2 = 0 }'
  e2e_start_game
  dialog=$(e2e_wait_window "Continuar la partida anterior" 20) || e2e_fail "the hand was not resumed"
  e2e_key "$dialog" Return
  e2e_wait_status '^notice Jugador4 ' 30 || e2e_fail "seat 4 did not wait: '$(e2e_status)'"
}

# What the game wrote on its standard output: whether it holds $2 lines (1
# unless told) that match the pattern $1, and a wait of up to $3 seconds for
# them (failing with $4).
e2e_logged() {
  local n
  n=$(grep -c -- "$1" "$E2E_DIR/stdout.log" 2>/dev/null || true)
  [ "${n:-0}" -ge "${2:-1}" ]
}
e2e_expect_logged() { e2e_until "$3" e2e_logged "$1" "$2" || e2e_fail "$4"; }

# A tarvelis-server on a free loopback port ($port), its tables in the scratch
# folder, stopping by itself after $1 seconds and with the script.
e2e_start_server() {
  # shellcheck source=../../scripts/loopback-server.sh
  source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/loopback-server.sh"
  start_loopback_server "$E2E_BUILD/src" "$E2E_DIR/tables" "$1" "$E2E_DIR/server" ||
    e2e_fail "the server did not say where it listens"
  E2E_BESIDE+=("$server_pid")
}

# The room ("Jugar en red: la sala"), the options menu's entry $1 (counted from 0;
# which entry it is depends on what the table offers). Under load the menu may not
# be up by the time its entry is clicked: that click falls on bare marble, and
# the menu is opened again.
e2e_open_room() {
  local id
  for _ in 1 2 3; do
    xdotool mousemove 400 420
    e2e_move 300 150
    xdotool click 3
    e2e_wait_open "menu 1" 5 || continue
    e2e_click_fresh 340 $((150 + 18 * $1 + 10))
    if id=$(e2e_wait_window "Jugar en red: la sala" 5); then echo "$id"; return 0; fi
  done
  return 1
}
# The room entered on the server of e2e_start_server (typed when the room
# does not enter a remembered one by itself), then its page $2, "create" or
# "join": the network window's id.
e2e_open_network_window() {
  local room rx ry button=151
  room=$(e2e_open_room "$1") || return 1
  read -r rx ry < <(e2e_window_at "$room")
  if ! e2e_wait_status "^room inside " 5; then
    e2e_click_fresh $((rx + 150)) $((ry + 43))
    xdotool key ctrl+a
    xdotool type --delay 20 "127.0.0.1:$port"
    e2e_click_fresh $((rx + 526)) $((ry + 43))
    e2e_wait_status "^room inside " 10 || return 1
  fi
  [ "$2" = join ] && button=177
  e2e_click_fresh $((rx + 526)) $((ry + button))
  e2e_wait_window "Jugar en red" 5
}
