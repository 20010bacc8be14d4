#!/usr/bin/env bash
# End to end: installs decagon into a fresh prefix, starts the installed
# program on a real X server, types a height and presses Enter as a person
# would, closes the window with its close box, and checks the exit status and
# the settings file beside the executable. Then the start without a JPEG
# writer: only the error box shows, nothing is written, status 0; and the
# start without any display: nothing is written, status 0.
# Usage: installed_test.sh BUILD_DIR CLOSE_WINDOW_TOOL QT_PLUGIN_DIR
set -euo pipefail
build=$1
close_window=$2
qt_plugins=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xvfb.sh
source "$here/xvfb.sh"

begin_run

fail() {
  echo "FAIL: $*" >&2
  describe_xvfb >&2
  exit 1
}

# Puts the pointer on a window and waits up to 5 s for it to hold the
# keyboard focus, so that keys typed next reach it.
point_at() {
  local id=$1
  xdotool mousemove --window "$id" 10 10
  for _ in $(seq 50); do
    [ "$(xdotool getwindowfocus 2>/dev/null || true)" = "$id" ] && return 0
    sleep 0.1
  done
  return 0
}

# Waits up to 20 s for the program to end; sets exit_status. Not in a
# subshell: only this shell can collect its child's status.
wait_for_exit() {
  local pid=$1
  exit_status=""
  for _ in $(seq 200); do
    if ! kill -0 "$pid" 2>/dev/null; then
      exit_status=0
      wait "$pid" || exit_status=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

echo "== install"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/decagon" ] || fail "no $prefix/bin/decagon"
[ -f "$prefix/share/applications/decagon.desktop" ] || fail "no desktop entry"
[ -f "$prefix/share/icons/hicolor/48x48/apps/decagon.png" ] || fail "no icon"
grep -q '^Exec=decagon$' "$prefix/share/applications/decagon.desktop" || fail "desktop entry runs something else"

start_xvfb

echo "== type a height, press Enter, close the window"
settings="$prefix/bin/Vanteo.ini"
"$prefix/bin/decagon" &
program_pid=$!
window=$(wait_for_window "Define the decagon") || fail "the window did not show"
[ -f "$settings" ] || fail "no settings file after start"
grep -q 'Rayon Exterieur=127.4420' "$settings" || fail "start did not compute the default height"
# The height field has the focus with its text selected: typing replaces it.
point_at "$window"
xdotool type --delay 40 "123.5"
xdotool key Return
computed=""
for _ in $(seq 100); do
  if grep -q 'Rayon Exterieur=61.7500' "$settings"; then
    computed=yes
    break
  fi
  sleep 0.1
done
[ -n "$computed" ] || fail "Enter did not compute the typed height"
"$close_window" "$window"
wait_for_exit "$program_pid" || fail "the program did not end after its window was closed"
program_pid=""
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status"
grep -q 'Rayon Exterieur=61.7500' "$settings" || fail "settings lost the computed height"
grep -q '^\[Colors\]' "$settings" || fail "no colours in the settings file"
grep -q '^Lines=17' "$settings" || fail "outline colour not saved"

echo "== start without a JPEG writer"
lonely="$work/noimages"
mkdir -p "$lonely/plugins"
cp "$prefix/bin/decagon" "$lonely/decagon"
printf '[Paths]\nPlugins = %s\n' "$lonely/plugins" >"$lonely/qt.conf"
QT_QPA_PLATFORM_PLUGIN_PATH="$qt_plugins/platforms" "$lonely/decagon" &
program_pid=$!
error=$(wait_for_window "Error") || fail "no error box"
if xdotool search --onlyvisible --name "Define the decagon" >/dev/null 2>&1; then
  fail "the dialog showed although the image layer did not start"
fi
windows=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | wc -l || true)
[ "$windows" -le 1 ] || fail "more than the error box shows ($windows windows)"
xprop -id "$error" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the error box does not stay on top"
point_at "$error"
xdotool key Return
wait_for_exit "$program_pid" || fail "the program did not end after the error box"
program_pid=""
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after the error box"
[ ! -e "$lonely/Vanteo.ini" ] || fail "a settings file was written"

echo "== start without any display"
nowhere="$work/nodisplay"
mkdir -p "$nowhere"
cp "$prefix/bin/decagon" "$nowhere/decagon"
exit_status=0
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$nowhere/decagon" >/dev/null 2>&1 || exit_status=$?
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status without a display"
[ ! -e "$nowhere/Vanteo.ini" ] || fail "a settings file was written without a display"

echo "PASS"
