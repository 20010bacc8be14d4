#!/usr/bin/env bash
# Cold start under wine: from the start of the process to its window shown on
# an X server, for decagon.exe, for an empty dialog of the same size, and for
# that dialog with the main dialog's controls as the system makes them from
# the template (nothing filled in), alternately in the same run. wine's own
# server runs throughout, so all pay the same for wine. Prints the median of
# each and the ratios. With OTHER_EXE, a second build of decagon.exe is
# measured too (before and after a change).
# Usage: coldstart.sh DECAGON_EXE EMPTY_DIALOG_EXE WINE [RUNS [OTHER_EXE]]
# The caller sets WINEPREFIX to a prefix that wine has already started once.
set -euo pipefail
program=$1
empty=$2
wine=$3
runs=${4:-7}
other=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/xvfb.sh
source "$here/../e2e/xvfb.sh"
export WINEDEBUG=-all
begin_run
start_xvfb
cp "$program" "$work/decagon.exe"
cp "$empty" "$work/empty.exe"
[ -n "$other" ] && cp "$other" "$work/other.exe"

wineserver=$(dirname "$(readlink -f "$wine")")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || true)
# A wine server that outlives each program; its output goes nowhere, so
# that nothing waits on it.
[ -n "$wineserver" ] && "$wineserver" -p 60 >/dev/null 2>&1 </dev/null || true
# One start of each first, unmeasured: files in the cache, prefix checked.
"$wine" cmd /c exit 0 >/dev/null 2>&1 || true

# Starts exe, waits for its window titled title, closes it with Escape;
# prints the milliseconds from the start to the window shown.
measure() {
  local exe=$1 title=$2 start now id=""
  start=$(date +%s%N)
  # shellcheck disable=SC2086 # exe may carry an argument
  (cd "$work" && exec "$wine" $exe) &
  program_pid=$!
  for _ in $(seq 3000); do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && break
    sleep 0.005
  done
  now=$(date +%s%N)
  [ -n "$id" ] || { echo "no window for $exe" >&2; exit 1; }
  xdotool windowfocus --sync "$id" key Escape
  wait "$program_pid" || true
  program_pid=""
  echo $(((now - start) / 1000000))
}

median() { tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

measure decagon.exe "Define the decagon" >/dev/null
measure empty.exe "Empty dialog" >/dev/null
declare -A times
for _ in $(seq "$runs"); do
  times[empty]+=" $(measure empty.exe "Empty dialog")"
  times[controls]+=" $(measure "empty.exe --controls" "Empty dialog")"
  times[decagon]+=" $(measure decagon.exe "Define the decagon")"
  [ -n "$other" ] && times[other]+=" $(measure other.exe "Define the decagon")"
done
e=$(echo "${times[empty]}" | median)
c=$(echo "${times[controls]}" | median)
d=$(echo "${times[decagon]}" | median)
echo "empty dialog, ms:${times[empty]} (median $e)"
echo "the same with the template's controls, ms:${times[controls]} (median $c)"
echo "decagon.exe, ms:${times[decagon]} (median $d)"
awk -v d="$d" -v e="$e" -v c="$c" 'BEGIN { printf "cold start ratio decagon / empty dialog: %.2f; controls alone / empty dialog: %.2f; decagon / controls alone: %.2f\n", d / e, c / e, d / c }'
if [ -n "$other" ]; then
  o=$(echo "${times[other]}" | median)
  echo "other decagon.exe, ms:${times[other]} (median $o)"
  awk -v o="$o" -v e="$e" 'BEGIN { printf "cold start ratio other / empty dialog: %.2f\n", o / e }'
fi
