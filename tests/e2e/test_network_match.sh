#!/usr/bin/env bash
# A whole match at a loopback tarvelis-server's table (seat 1 a person's, the rest the
# computer's), joined with --join through a relay and played with clicks. At the player's
# second turn the relay is killed and restarted: the game must resume its seat. Then every
# hand's moves the game drew must be those the server sent (the relay writes them down), the
# totals the same. A local hand put off before waits for seat 4 again afterwards, and
# TARVE32.INI is as it was.
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
relay_pid=""
trap e2e_cleanup EXIT

e2e_start_x 800x600x24
e2e_fresh_folder
e2e_first_start "$E2E_QUICK"
e2e_start_match
[ "$(e2e_advance)" = turn ] || e2e_fail "seat 4 never got its turn"
waiting=$(e2e_status)
e2e_leave
ini_before=$(md5sum <"$E2E_INI")
his_before=$(md5sum <"$E2E_DIR/TARVE32.HIS" 2>/dev/null || echo none)

e2e_start_server 280
code=$(python3 "$here/net_helper.py" create "$port" 1 2) || e2e_fail "no table created"

# The relay listens on a port of its own, the same one each time it starts.
start_relay() {
  rm -f "$E2E_DIR/relayport"
  [ -n "${rport:-}" ] && echo "$rport" >"$E2E_DIR/relayport"
  python3 "$here/net_helper.py" relay "$E2E_DIR/relayport" "$port" "$E2E_DIR/relay.log" 250 &
  relay_pid=$!
  e2e_beside
  e2e_until 5 test -s "$E2E_DIR/relayport" || e2e_fail "the relay did not say where it listens"
  rport=$(cat "$E2E_DIR/relayport")
}
start_relay

e2e_start_game --join "127.0.0.1:$rport" "$code" 1 Ana

turns=0
dropped=0
# One look at the game: its messages closed, the player's turn played, the
# continue button pressed. True once the match is over and the game is back
# at the local match it put off.
play_step() {
  local status
  # The game's messages, as a player reads and closes them.
  e2e_answer "Comienza la Partida" "C i e r r e" "Final de este juego" "Final de Partida" \
    "Jugador con cinco dobles" "Partida en red" || true
  grep -q "^net match_end" "$E2E_DIR/stdout.log" &&
    e2e_window_exists "Continuar la partida anterior" && return 0
  status=$(e2e_status)
  case "$status" in
    "notice Ana "*)
      turns=$((turns + 1))
      if [ "$turns" = 2 ] && [ "$dropped" = 0 ]; then
        e2e_screenshot network-table
        kill "$relay_pid"
        wait "$relay_pid" 2>/dev/null || true
        e2e_wait_status "^net reconnecting" 10 || e2e_fail "the game did not notice the drop"
        e2e_screenshot network-drop
        # The link stays down a while, so that the game's first tries to
        # come back meet nobody: the span itself is what is tested.
        e2e_wait_status "^net reconnecting tries [3-9]" 20 ||
          e2e_fail "the game did not try again: '$(e2e_status)'"
        start_relay
        dropped=1
        e2e_wait_status "^notice Ana " 30 || e2e_fail "the seat was not asked again after the drop"
        return 1
      fi
      e2e_play_my_turn "$status" ;;
    "notice Continuar "*)
      # Once: the status stays until the game waits for something else. The
      # last hand waits again once the match is over, at the same move.
      over=$(grep -c "^net match_end" "$E2E_DIR/stdout.log" || true)
      if [ "$over" -gt 0 ] && [ -z "${shown_over:-}" ]; then
        e2e_rested_screenshot network-match-over
        shown_over=1
        # The match is over and its last hand is stepped through before the
        # local match comes back: the recorder on, one move back, off again.
        e2e_click 767 536
        e2e_wait_status "^recorder move " 10 || e2e_fail "no recorder over the last hand: '$(e2e_status)'"
        live=$(e2e_field move)
        e2e_click 756 555
        e2e_wait_status "^recorder move $((live - 1)) " 10 ||
          e2e_fail "the last hand did not step back from move $live: '$(e2e_status)'"
        e2e_click 767 536
        e2e_wait_status "^notice Continuar " 10 || e2e_fail "the recorder did not go off: '$(e2e_status)'"
      fi
      [ "$status $over" != "${continued:-}" ] && e2e_click 688 550
      continued="$status $over" ;;
  esac
  return 1
}
e2e_until 240 play_step || true
grep -q "^net match_end" "$E2E_DIR/stdout.log" || e2e_fail "the match did not end"
[ "$dropped" = 1 ] || e2e_fail "the connection was never dropped"
grep -q "^net link back" "$E2E_DIR/stdout.log" || e2e_fail "the game did not come back to its seat"
python3 "$here/net_helper.py" compare "$E2E_DIR/relay.log" "$E2E_DIR/stdout.log" ||
  e2e_fail "the game and the server saw different matches"

# Back at the local hand, as it was: leaving saves the local state, which the
# networked match never touched.
dialog=$(e2e_wait_window "Continuar la partida anterior" 10) || e2e_fail "the local match did not come back"
e2e_key "$dialog" Return
e2e_wait_status "^$waiting\$" 10 || e2e_fail "the local hand came back at '$(e2e_status)', not '$waiting'"
e2e_leave
[ "$(md5sum <"$E2E_INI")" = "$ini_before" ] || e2e_fail "the networked match changed TARVE32.INI"
# The match is in the networked history, and the local one is untouched.
[ "$(wc -l <"$E2E_DIR/TARVRED.HIS")" = 1 ] || e2e_fail "the networked match is not in TARVRED.HIS"
[ "$(md5sum <"$E2E_DIR/TARVE32.HIS" 2>/dev/null || echo none)" = "$his_before" ] ||
  e2e_fail "the networked match changed TARVE32.HIS"
echo "ok: $turns turns of the player, one drop"
