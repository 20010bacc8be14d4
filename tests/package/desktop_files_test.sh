#!/usr/bin/env bash
# What the desktop sees of an installed copy: the desktop entry and the
# AppStream metadata pass their validators; the names they use lead to the
# installed files; the scalable icon looks like the bitmap icon, and the
# window shows that same icon; the manual page and bash completion know every
# option decagon-cli has; the manual pages format without warnings.
# Usage: desktop_files_test.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/xvfb.sh
source "$here/../e2e/xvfb.sh"
begin_run
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
share="$prefix/share"
entry="$share/applications/decagon.desktop"

echo "== validators"
out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
metainfo=$(ls "$share"/metainfo/*.metainfo.xml)
out=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
if grep -q '^[EWI]:' <<<"$out"; then fail "appstreamcli has remarks: $out"; fi

echo "== names lead to files"
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
[ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "metainfo file named $(basename "$metainfo") for id $id"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$share/applications/$launchable" ] || fail "the metainfo launches $launchable, which is not installed"
icon=$(sed -n 's/^Icon=//p' "$entry")
png="$share/icons/hicolor/48x48/apps/$icon.png"
svg="$share/icons/hicolor/scalable/apps/$icon.svg"
[ -f "$png" ] || fail "no 48x48 icon $icon.png"
[ -f "$svg" ] || fail "no scalable icon $icon.svg"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$prefix/bin/$exec_name" ] || fail "the desktop entry runs $exec_name, which is not installed"
for binary in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
  [ -x "$prefix/bin/$binary" ] || fail "the metainfo provides $binary, which is not installed"
done

echo "== the scalable icon looks like the bitmap"
identify -format '%w %h' "$png" | grep -qx '48 48' || fail "the bitmap icon is not 48 x 48"
rsvg-convert -w 48 -h 48 "$svg" -o "$work/svg.png"
difference=$({ compare -metric RMSE "$png" "$work/svg.png" null: 2>&1 || true; } | sed -n 's/.*(\(.*\)).*/\1/p')
awk -v d="$difference" 'BEGIN { exit !(d < 0.1) }' || fail "the SVG icon differs from the PNG (RMSE $difference)"

echo "== the window shows the desktop entry's icon"
start_xvfb
mkdir -p "$work/copy"
cp "$prefix/bin/decagon" "$work/copy/decagon"
"$work/copy/decagon" &
program_pid=$!
window=""
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name '^Define the decagon$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  fail "the window did not show"
else
  # _NET_WM_ICON holds width, height and ARGB words for each size the
  # window offers; take the 48 x 48 one. Fully transparent pixels compare as 0.
  xprop -id "$window" -notype -f _NET_WM_ICON 32x ' $0+\n' _NET_WM_ICON | sed 's/^_NET_WM_ICON *//' |
    tr ',' '\n' | tr -d ' ' | awk '
      function word(text) { text = tolower(substr(text, 3)); while (length(text) < 8) text = "0" text; return text }
      state == 0 { w = $1; state = 1; next }
      state == 1 { h = $1; count = 0; take = (w == "0x30" && h == "0x30"); state = 2; next }
      state == 2 {
        if (take) { v = word($1); print (substr(v, 1, 2) == "00" ? "00000000" : v) }
        if (++count == area(w, h)) { if (take) exit; state = 0 }
      }
      function area(a, b) { return hex(a) * hex(b) }
      function hex(text,   i, n, d) {
        n = 0; text = tolower(substr(text, 3))
        for (i = 1; i <= length(text); i++) { d = index("0123456789abcdef", substr(text, i, 1)) - 1; n = n * 16 + d }
        return n
      }' >"$work/window.txt" || true
  convert "$png" -depth 8 txt:- | sed -n 's/.*#\([0-9A-F]\{6\}\)\([0-9A-F]\{2\}\).*/\2\1/p' | tr 'A-F' 'a-f' |
    sed 's/^00.*/00000000/' >"$work/icon.txt"
  [ "$(wc -l <"$work/icon.txt")" -eq 2304 ] || fail "could not read the icon's pixels"
  cmp -s "$work/window.txt" "$work/icon.txt" ||
    fail "the window's 48 x 48 icon is not the installed icon ($(wc -l <"$work/window.txt") pixels read)"
fi
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
program_pid=""

echo "== decagon-cli's options in its manual page and its completion"
options=$("$prefix/bin/decagon-cli" --help | grep -o -- '^  --[a-z0-9-]*' | tr -d ' ')
[ "$(wc -l <<<"$options")" -ge 10 ] || fail "could not read the options from --help"
page=$(MANWIDTH=100 man -l "$share/man/man1/decagon-cli.1.gz" 2>/dev/null)
completion="$share/bash-completion/completions/decagon-cli"
# shellcheck disable=SC1090
source "$completion"
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _decagon_cli
  printf '%s\n' "${COMPREPLY[@]}"
}
offered=$(complete_words decagon-cli --)
for option in $options; do
  grep -q -- "$option" <<<"$page" || fail "man decagon-cli does not mention $option"
  grep -qx -- "$option" <<<"$offered" || fail "completion does not offer $option"
done
[ "$(wc -l <<<"$offered")" -eq "$(wc -l <<<"$options")" ] || fail "completion offers options --help does not list"
[ "$(complete_words decagon-cli --external-circle y)" = yes ] || fail "completion of yes|no"
[ "$(complete_words decagon-cli --diagonals 1 | tr '\n' ' ')" = "1 10 11 " ] || fail "completion of diagonal codes"
[ "$(complete_words decagon-cli --height 1 --int)" = "--internal-circle" ] || fail "completion after a value"

for page in "$share"/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

[ "$failures" -eq 0 ] || exit 1
echo "PASS"
