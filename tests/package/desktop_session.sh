#!/usr/bin/env bash
# Inside the fresh system, as an ordinary user: starts decagon the way the
# desktop menu does (the desktop entry's Exec line), picks a diagonal colour
# with the mouse and the keyboard, ends with Escape; starts it again from a
# terminal and checks that the colour was kept, in the user's configuration
# folder; then decagon-cli's --settings-path, --help, the colour it reads,
# a WebP image, and its manual page.
# Usage: desktop_session.sh [APPLICATIONS_FOLDER]   (default /usr/share/applications)
set -euo pipefail
applications=${1:-/usr/share/applications}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
now() { date +%s.%N; }

display=$((300 + RANDOM % 500))
Xvfb ":$display" -screen 0 1600x1000x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
program_pid=""
trap 'kill $program_pid $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=":$display"
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

wait_for_window() {
  local id=""
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name '^Define the decagon$' 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

wait_for_exit() {
  for _ in $(seq 200); do
    kill -0 "$1" 2>/dev/null || { wait "$1" || true; return 0; }
    sleep 0.1
  done
  return 1
}

# The "Colors" section of a settings file, one key=value a line.
colours() { sed -n '/^\[Colors\]/,/^\[/p' "$1" | tr -d '\r' | grep '='; }

settings=$(decagon-cli --settings-path)
[ "$settings" = "$HOME/.config/decagon/Vanteo.ini" ] || fail "settings path $settings"
[ ! -e "$settings" ] || fail "a settings file before the first start"

echo "== start from the desktop menu"
entry="$applications/decagon.desktop"
command=$(sed -n 's/^Exec=//p' "$entry" | sed 's/ *%[fFuUick]//g')
[ -n "$command" ] || fail "no Exec line in $entry"
started=$(now)
sh -c "exec $command" &
program_pid=$!
window=$(wait_for_window) || fail "the window did not show"
shown=$(now)
awk -v a="$started" -v b="$shown" 'BEGIN { printf "first window after %.2f s\n", b - a }'
[ -f "$settings" ] || fail "no settings file after the start"
[ "$(stat -c %a "$(dirname "$settings")")" = 700 ] || fail "the settings folder is not the user's alone"
before=$(colours "$settings")

# The diagonal colour list at the bottom left (template units 28,256, 76
# wide, at 1.5 x 1.63 pixels a unit): open it, take the next colour.
xdotool mousemove --window "$window" 110 430 click 1
sleep 0.5
xdotool key Down
sleep 0.2
xdotool key Return
sleep 0.3
xdotool mousemove --window "$window" 600 10
xdotool key Escape
wait_for_exit "$program_pid" || fail "Escape did not end the program"
program_pid=""
after=$(colours "$settings")
changed=$(diff <(echo "$before") <(echo "$after") | sed -n 's/^> //p' || true)
[ "$(echo "$changed" | grep -c =)" -eq 1 ] || fail "expected one colour to change, got: ${changed:-none}"
echo "picked: $changed"

echo "== start from a terminal"
decagon &
program_pid=$!
window=$(wait_for_window) || fail "the window did not show the second time"
sleep 0.5
xdotool key Escape
wait_for_exit "$program_pid" || fail "Escape did not end the program the second time"
program_pid=""
colours "$settings" | grep -qx "$changed" || fail "the picked colour was not kept: $(colours "$settings" | tr '\n' ' ')"
[ ! -e "$(dirname "$(command -v decagon)")/Vanteo.ini" ] || fail "a settings file beside the installed program"

echo "== decagon-cli"
decagon-cli --help | grep -q -- '--settings-path' || fail "--help"
decagon-cli --version | grep -q '^decagon-cli ' || fail "--version"
[ "$(decagon-cli --settings-path)" = "$settings" ] || fail "the command line reads another file"
[ "$(decagon-cli --svg -)" != "$(XDG_CONFIG_HOME="$XDG_RUNTIME_DIR" decagon-cli --svg -)" ] ||
  fail "the command line does not draw with the picked colour"
decagon-cli --height 100 | grep -q '^Choord:.* 30\.9017$' || fail "decagon-cli values"
# A format only Qt writes: the installed module of Qt's image writers, and
# the image plug-ins the package depends on.
decagon-cli --height 100 --image "$HOME/figure.webp" || fail "decagon-cli --image figure.webp"
[ "$(head -c 4 "$HOME/figure.webp")" = RIFF ] || fail "figure.webp is no WebP file"
rm -f "$HOME/figure.webp"
man decagon-cli 2>/dev/null | grep -q -- 'settings-path' || fail "man decagon-cli"
man decagon 2>/dev/null | grep -q 'XDG_CONFIG_HOME' || fail "man decagon"
echo "PASS"
