#!/usr/bin/env bash
# Runs every end-to-end script against the real binary under Xvfb.
set -euo pipefail
build=${1:-build}
status=0
for t in "$(dirname "$0")"/test_*.sh; do
  [ -e "$t" ] || continue
  echo "e2e: $(basename "$t")"
  if ! "$t" "$build"; then status=1; fi
done
exit $status
