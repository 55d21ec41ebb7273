# Sourced by the scripts that need a table server. start_loopback_server
# starts tarvelis-server on a free loopback port and waits, ten seconds at
# most, for it to say which:
#
#   start_loopback_server BIN_DIR DATA_DIR STOP_AFTER_SECONDS OUT_PREFIX [OPTION...]
#
# Every client of these scripts comes from one address, so the limits per
# address are lifted; OPTIONs given after the prefix come later and win.
#
# Further options go to the server as they are (--page FOLDER, say).
# The server writes OUT_PREFIX.out and OUT_PREFIX.err and stops by itself
# after STOP_AFTER_SECONDS. Sets server_pid and port; returns 1 when the
# server never said where it listens.
start_loopback_server() {
  local lifted=()
  # The limits per address and the page's own, where the server has them (an
  # older build, run to measure alongside, may have neither).
  local usage
  usage=$("$1/tarvelis-server" --help 2>&1 || true)
  if [[ $usage == *--connections-per-address* ]]; then
    lifted+=(--connections-per-address 100000 --tables-per-minute 100000)
  fi
  if [[ $usage == *--page-connections-per-address* ]]; then
    lifted+=(--page-connections-per-address 100000 --page-requests-per-minute 1000000)
  fi
  "$1/tarvelis-server" --listen 127.0.0.1:0 --data "$2" --stop-after "$3" "${lifted[@]}" "${@:5}" \
    >"$4.out" 2>"$4.err" &
  server_pid=$!
  port=""
  for _ in $(seq 100); do
    port=$(sed -n 's/^listening 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$4.out" 2>/dev/null || true)
    [ -n "$port" ] && return 0
    sleep 0.1
  done
  return 1
}
