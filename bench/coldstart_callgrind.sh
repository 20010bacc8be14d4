#!/usr/bin/env bash
# Instruction counts of the cold start under callgrind, which repeat from run
# to run where wall times on a shared machine do not: the empty reference
# window and decagon, each until its window is shown and closed again.
# Usage: bench/coldstart_callgrind.sh [BUILD_DIR] [OUT_DIR]
# Then e.g.: callgrind_annotate --inclusive=yes OUT_DIR/decagon.out
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(realpath -m "${2:-$build/coldstart-callgrind}")
mkdir -p "$out"
# shellcheck source=../tests/e2e/xvfb.sh
source tests/e2e/xvfb.sh
begin_run
cp "$build/app/decagon" "$work/decagon" # its settings file lands beside it
start_xvfb
for program in "Empty window:empty_window:$build/bench/empty_window:" \
  "Empty window:one_line_window:$build/bench/empty_window:--label" "Define the decagon:decagon:$work/decagon:"; do
  IFS=: read -r title name path option <<<"$program"
  # shellcheck disable=SC2086 # the option is one word or none
  "$build/bench/coldstart_timer" 1 "$title" "$(command -v valgrind)" --tool=callgrind --callgrind-out-file="$out/$name.out" \
    "$path" $option 2>/dev/null >/dev/null
  echo "$name: $(grep '^summary:' "$out/$name.out" | cut -d' ' -f2) instructions"
done
