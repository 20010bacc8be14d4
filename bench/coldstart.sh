#!/usr/bin/env bash
# Cold start of decagon under Xvfb, from process start to its window shown,
# with a same-run reference: an empty Qt window of the same size. Alternates
# the two programs so that both see the same machine load.
# Usage: bench/coldstart.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-5}
# shellcheck source=../tests/e2e/xvfb.sh
source tests/e2e/xvfb.sh
begin_run
cp "$build/bin/decagon" "$work/decagon" # its settings file lands beside it
start_xvfb
for round in $(seq "$rounds"); do
  echo "round $round"
  "$build/bench/coldstart_timer" 10 "Empty window" "$build/bench/empty_window"
  "$build/bench/coldstart_timer" 10 "Define the decagon" "$work/decagon"
done
