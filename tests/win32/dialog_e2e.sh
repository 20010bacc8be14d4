#!/usr/bin/env bash
# End to end under wine: decagon.exe in a fresh folder on a real X server,
# driven with the keyboard as a person would. First start: the settings file
# holds the bytes the Linux build writes. Then a typed height and Enter; a
# CSV and a JPEG file through the system's save dialog; the figure onto the
# clipboard, read back by a second Windows program; and Escape, which saves
# the settings and ends the program with status 0.
# Usage: dialog_e2e.sh DECAGON_EXE E2E_PROBE_EXE WINE
# The caller sets WINEPREFIX to a prefix that wine has already started once.
set -euo pipefail
program=$1
probe=$2
wine=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/xvfb.sh
source "$here/../e2e/xvfb.sh"
export WINEDEBUG=-all
begin_run

fail() {
  echo "FAIL: $*" >&2
  describe_xvfb >&2
  [ -f "${settings:-}" ] && { echo "settings file:"; cat "$settings"; } >&2
  exit 1
}

# A folder of this machine as the Windows programs under wine name it.
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

wait_for_no_window() {
  local title=$1
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Waits up to 10 s for a file to hold a text.
wait_for_text() {
  local file=$1 text=$2
  for _ in $(seq 100); do
    grep -qF -- "$text" "$file" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# Keys for the main dialog: its window takes the keyboard focus first.
keys_to_dialog() {
  xdotool windowfocus --sync "$window"
  xdotool key --delay 80 "$@"
}

# Runs one export through the system's save dialog: the file name typed into
# the dialog, then the program's confirmation box closed.
save_through_dialog() {
  local name=$1 save confirmation
  save=$(wait_for_window "Save As") || fail "no save dialog for $name"
  xdotool windowfocus --sync "$save"
  xdotool type --delay 20 "$(windows_path "$work/out/$name")"
  xdotool key Return
  wait_for_no_window "Save As" || fail "the save dialog stayed open for $name"
  confirmation=$(wait_for_window "Information") || fail "no confirmation for $name"
  xdotool windowfocus --sync "$confirmation"
  xdotool key Return
  wait_for_no_window "Information" || fail "the confirmation for $name stayed open"
}

app="$work/app"
mkdir -p "$app" "$work/out" "$work/expected"
cp "$program" "$app/decagon.exe"
settings="$app/Vanteo.ini"
# Every wine program of the run starts with the X server there: one that
# starts wine's desktop without a display keeps every window from showing.
start_xvfb
"$wine" "$probe" settings "$(windows_path "$work/expected/Vanteo.ini")" || fail "probe: settings"
"$wine" "$probe" csv 123.5 "$(windows_path "$work/expected/values.csv")" || fail "probe: csv"

echo "== first start"
(cd "$app" && exec "$wine" decagon.exe) &
program_pid=$!
window=$(wait_for_window "Define the decagon") || fail "the window did not show"
cmp "$settings" "$work/expected/Vanteo.ini" || fail "the first start's settings differ from the Linux build's"

echo "== type a height, press Enter"
# The height field has the focus with its text selected: typing replaces it.
xdotool windowfocus --sync "$window"
xdotool type --delay 40 "123.5"
xdotool key Return
wait_for_text "$settings" "Rayon Exterieur=61.7500" || fail "Enter did not compute the typed height"

echo "== CSV file through the save dialog"
# Backwards from the height field: 1027, Exit, two links, the copy button,
# then "Generate a CSV file".
# The name's own extension: the dialog opens on the "*.txt" entry, whose
# extension it would add to a bare name.
keys_to_dialog shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Return
save_through_dialog values.csv
cmp "$work/out/values.csv" "$work/expected/values.csv" || fail "the CSV file differs"

echo "== JPEG file through the save dialog"
# A bare name: the dialog adds ".jpg".
keys_to_dialog shift+Tab Return
save_through_dialog figure
jpeg="$work/out/figure.jpg"
[ -f "$jpeg" ] || fail "no JPEG file"
described=$(identify -format '%m %w %h %Q' "$jpeg") || fail "the JPEG file cannot be read"
echo "JPEG file: $described"
[ "$described" = "JPEG 123 123 95" ] || fail "the JPEG file is not 123 x 123 at quality 95"

echo "== copy to the clipboard"
keys_to_dialog Tab Tab Return
confirmation=$(wait_for_window "Information") || fail "no confirmation of the copy"
xdotool windowfocus --sync "$confirmation"
xdotool key Return
wait_for_no_window "Information" || fail "the copy's confirmation stayed open"
"$wine" "$probe" clipboard 123.5 || fail "the clipboard does not hold the figure"

echo "== Escape"
rm "$settings"
keys_to_dialog Escape
exit_status=""
for _ in $(seq 200); do
  if ! kill -0 "$program_pid" 2>/dev/null; then
    exit_status=0
    wait "$program_pid" || exit_status=$?
    break
  fi
  sleep 0.1
done
[ -n "$exit_status" ] || fail "Escape did not end the program"
program_pid=""
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status"
[ -f "$settings" ] || fail "Escape did not save the settings"
grep -qF "Rayon Exterieur=61.7500" "$settings" || fail "the saved settings lost the computed height"
echo "decagon.exe works end to end under wine"
