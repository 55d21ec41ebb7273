#!/usr/bin/env bash
# Measures the real game under Xvfb at 1920x1080: the processor time it uses
# while the table waits for the user, and its peak resident memory through a
# whole match of four computer seats at full speed.
#   bench/table_measures.sh [build-folder]
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/lib.sh" "${1:-build}"
trap e2e_cleanup EXIT

ticks() { awk '{ print $14 + $15 }' "/proc/$E2E_GPID/stat"; }
hz=$(getconf CLK_TCK)

e2e_start_x 1920x1080x24
e2e_fresh_folder
export TARVELIS_TEST_STATUS="$E2E_DIR/status"

# The first start writes the default settings: seat 4 plays by hand.
e2e_start_game
dialog=$(e2e_wait_window "Error en la carga de datos iniciales" 20) || e2e_fail "no first start"
e2e_key "$dialog" Return
table=$(e2e_wait_window "TARVELIS" 10) || e2e_fail "no table"

# 1. Idle: a match waiting at the continue button for 10 seconds.
e2e_key "$table" space
dialog=$(e2e_wait_window "Comienza la Partida" 30) || e2e_fail "no match"
e2e_key "$dialog" Return
for _ in $(seq 300); do [ -s "$TARVELIS_TEST_STATUS" ] && break; sleep 0.1; done
sleep 1
before=$(ticks)
sleep 10
after=$(ticks)
echo "waiting at the continue button: $(( (after - before) * 1000 / hz / 10 )) ms of processor a second ($(awk -v t=$((after - before)) -v hz="$hz" 'BEGIN { printf "%.2f", t / hz / 10 * 100 }')% of a core)"
e2e_click 1890 28
dialog=$(e2e_wait_window "Posponer la partida en curso" 10) || e2e_fail "leaving did not ask"
e2e_key "$dialog" Return
e2e_wait_exit 10

# 2. A whole match with four computer seats, no pauses, no sound, full speed.
ini="$E2E_DIR/TARVE32.INI"
awk 'BEGIN { FS = OFS = "," }
     NR == 1 { $9 = 2; $12 = 2; $20 = 1 }
     NR == 2 { $2 = 100; $3 = "#FALSE#"; $4 = "#FALSE#" }
     { print }' "$ini" >"$ini.new" && mv "$ini.new" "$ini"
start=$(date +%s)
e2e_start_game
table=$(e2e_wait_window "TARVELIS" 20) || e2e_fail "no table"
sleep 0.5
e2e_key "$table" space
dialog=$(e2e_wait_window "Comienza la Partida" 30) || e2e_fail "no match"
e2e_key "$dialog" Return
hands=0
while ! e2e_window_exists "Final de Partida"; do
  for title in "Final de este juego" "C i e r r e"; do
    if dialog=$(e2e_wait_window "$title" 0); then
      e2e_key "$dialog" Return
      hands=$((hands + 1))
      sleep 0.5
      e2e_click 1808 1030   # the continue button after the hand
    fi
  done
  [ $(( $(date +%s) - start )) -lt 600 ] || e2e_fail "the match did not end in ten minutes"
  sleep 0.2
done
peak=$(awk '/VmHWM/ { print $2 }' "/proc/$E2E_GPID/status")
echo "whole match of $hands hands at 1920x1080: peak resident memory $((peak / 1024)) MB"
