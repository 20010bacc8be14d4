#!/usr/bin/env bash
# Cold start of decagon under Xvfb, from process start to its window shown,
# with two same-run references: an empty Qt window of the same size, and the
# same window holding one line of text (the least a window with text pays:
# the font configuration read, a face loaded, a text shaped). Alternates the
# programs so that all see the same machine load.
# Usage: bench/coldstart.sh [BUILD_DIR] [ROUNDS]
# Under a desktop session's bus, as a user's desktop has one:
#   dbus-run-session -- bench/coldstart.sh
# (Without a bus, every Qt program first tries to start one for its
# accessibility bridge: the empty window does that after it is shown, a
# window with text before.)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-5}
# shellcheck source=../tests/e2e/xvfb.sh
source tests/e2e/xvfb.sh
begin_run
cp "$build/app/decagon" "$work/decagon" # its settings file lands beside it
start_xvfb
for round in $(seq "$rounds"); do
  echo "round $round"
  "$build/bench/coldstart_timer" 10 "Empty window" "$build/bench/empty_window"
  "$build/bench/coldstart_timer" 10 "Empty window" "$build/bench/empty_window" --label | sed 's/^Empty window/One line of text/'
  "$build/bench/coldstart_timer" 10 "Define the decagon" "$work/decagon"
done
