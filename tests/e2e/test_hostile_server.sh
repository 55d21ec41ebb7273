#!/usr/bin/env bash
# A server that misbehaves (hostile_server.py, on loopback) cannot freeze the game nor touch its
# settings: seats named with 256 bytes show cut to the longest name; thousands of comings and
# goings of a friend and long texts that are no messages are read with no dialog, while the
# help button answers within a second; a burst of 24 MB while a dialog is open, and on a second
# start a frame announced as 1 GB, each end the link with the game's own words, the game's
# memory staying small. TARVE32.INI is byte for byte as before.
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"
ini_before=$(md5sum <"$E2E_INI")
control="$E2E_DIR/control"
mkdir -p "$control"
python3 "$here/hostile_server.py" "$E2E_DIR/port" "$control" 240 2>"$E2E_DIR/server.log" &
e2e_beside
e2e_until 5 test -s "$E2E_DIR/port" || e2e_fail "the hostile server did not start"
port=$(cat "$E2E_DIR/port")

join() {
  # The last start's status is not this one's.
  rm -f "$TARVELIS_TEST_STATUS"
  e2e_start_game --join "127.0.0.1:$port" ABC234DEFG 1 Ana
  # Asked to move, under the seat's name cut to twenty letters.
  e2e_wait_status "^notice A{20} hand 1 move 4 " 20 ||
    e2e_fail "the seat was not asked under its cut name: '$(e2e_status)'"
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# A click on the help button is answered within a second, and no dialog of the
# networked match is up (friends coming and going need no click).
probe() {
  local start id
  e2e_window_exists "Partida en red" && e2e_fail "a dialog for a friend's coming and going ($1)"
  # From elsewhere on the table, as a hand does: no tooltip stands on the button.
  e2e_move 400 300
  start=$(now_ms)
  xdotool mousemove 32 103 click 1
  # Looked for often: the time it takes is measured.
  E2E_POLL_MS=25 e2e_until 1 e2e_find_window "Ayuda de TARVELIS" || true
  id=$E2E_FOUND
  [ -n "$id" ] || e2e_fail "the help button did not answer ($1): $(xdotool search --name Ayuda 2>&1 | wc -l) windows"
  [ $(($(now_ms) - start)) -le 1000 ] || e2e_fail "the help button took $(($(now_ms) - start)) ms ($1)"
  e2e_key "$id" Escape
  e2e_wait_closed "Ayuda de TARVELIS" 5 "the help window did not close ($1)"
}
rss_mb() { awk '/VmRSS/ { print int($2 / 1024) }' "/proc/$E2E_GPID/status"; }
# The link's end is told in the game's words, in a dialog of its own.
expect_overflow() {
  local dialog
  e2e_expect_logged "^net link overflow" "$2" 10 "the link was not ended ($1)"
  dialog=$(e2e_wait_window "Partida en red" 10) || e2e_fail "the end of the link was not told ($1)"
  e2e_screenshot "hostile-$1"
  e2e_key "$dialog" Return
  e2e_wait_closed "Partida en red" 5 "the message did not close ($1)"
}

join
probe "asked"
e2e_screenshot network-long-names
# The game has read on through the flood (or the flood is over) before the
# next probe.
read_on() { e2e_logged "^net line 1 " "$1" || [ -e "$control/flood.done" ]; }
touch "$control/flood"
for n in 1 2 3 4 5; do
  probe "flood $n"
  read_so_far=$(grep -c "^net line 1 " "$E2E_DIR/stdout.log" || true)
  e2e_until 10 read_on $((read_so_far + 1)) || e2e_fail "the flood was not read on after probe $n"
done
e2e_screenshot network-presence
touch "$control/calm"
dialog=$(e2e_wait_window "Aviso del servidor" 60) || e2e_fail "the flood was never read through"
comings=$(grep -c "^net line 1 " "$E2E_DIR/stdout.log" || true)
[ "$comings" -ge 100 ] || e2e_fail "the friend's comings and goings were not on the line ($comings)"
touch "$control/burst"
e2e_until 10 test -e "$control/burst.done" || true
# The dialog still answers at once, and the burst has ended the link.
start=$(now_ms)
e2e_key "$dialog" Return
e2e_wait_closed "Aviso del servidor" 2 "the notice did not close after the burst"
[ $(($(now_ms) - start)) -le 1300 ] || e2e_fail "closing the notice took $(($(now_ms) - start)) ms"
expect_overflow burst 1
probe "after the burst"
[ "$(rss_mb)" -le 400 ] || e2e_fail "the game holds $(rss_mb) MB after the burst"
e2e_click 770 28
e2e_wait_exit 10

join
probe "second start"
rss_before=$(rss_mb)
touch "$control/giant"
expect_overflow giant 2
probe "after the giant frame"
sent=$(cat "$control/giant.sent" 2>/dev/null || echo "?")
[ "$(rss_mb)" -le $((rss_before + 100)) ] ||
  e2e_fail "the game grew from $rss_before to $(rss_mb) MB on a giant frame ($sent bytes sent)"
e2e_click 770 28
e2e_wait_exit 10
[ "$(md5sum <"$E2E_INI")" = "$ini_before" ] || e2e_fail "the hostile server changed TARVE32.INI"
echo "ok: $comings comings and goings on the line, the giant frame cut after $sent bytes"
