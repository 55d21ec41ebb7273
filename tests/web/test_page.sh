#!/usr/bin/env bash
# The browser's seat end to end: a table server on a free loopback port
# serving the page, headless Chromium at /t/CODE playing a whole hand with
# real pointer events, then a reload in the middle of the next hand.
#
#   tests/web/test_page.sh BIN_DIR PAGE_DIR CHROMIUM OUT_DIR [--measure DOCS_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$1 page=$2 chromium=$3 out=$4
shift 4
mkdir -p "$out"
work=$(mktemp -d)
cleanup() {
  [ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=../../scripts/loopback-server.sh
. "$here/../../scripts/loopback-server.sh"
start_loopback_server "$bin" "$work/tables" 300 "$work/server" --page "$page" ||
  { cat "$work/server.err"; exit 1; }
python3 "$here/test_page.py" --port "$port" --chromium "$chromium" --profile "$work/profile" \
  --out "$out" "$@"
