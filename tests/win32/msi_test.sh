#!/usr/bin/env bash
# The installer as an administrator and a user meet it, under wine in a fresh
# prefix: a silent install puts both programs and the README in Program
# Files\decagon, a Start-menu shortcut and an Apps & features entry (name,
# version, publisher, icon); the program started from the shortcut's target
# keeps a colour picked with xdotool in %APPDATA%\decagon\Vanteo.ini across
# two runs and creates nothing in Program Files; a newer package replaces it
# (one entry left, the newer version); a silent uninstall removes the files,
# the shortcut and the entry and leaves the user's settings alone. Prints
# the package's size and the install and uninstall times.
# Usage: msi_test.sh MSI WXS STAGE VERSION WINE
#   STAGE: the folder the package's files were staged in, for the newer
#   package this test makes from the same files with wixl.
set -euo pipefail
msi=$1
wxs=$2
stage=$3
version=$4
wine=$5
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/xvfb.sh
source "$here/../e2e/xvfb.sh"
# shellcheck source=privateprefix.sh
source "$here/privateprefix.sh"
begin_private_prefix
seconds_since() { awk -v from="$1" -v to="$(date +%s.%N)" 'BEGIN { printf "%.1f", to - from }'; }

echo "$(basename "$msi"): $(stat -c %s "$msi") bytes"
newer_version="${version%.*}.$((${version##*.} + 1))"
newer="$work/decagon-$newer_version.msi"
(cd "$stage" && wixl -a x64 -D Version="$newer_version" -D Programs=. -D Icon=decagon.ico -o "$newer" "$wxs") ||
  stop "cannot make the newer package"

start_private_prefix
drive="$WINEPREFIX/drive_c"
user=$(id -un) # wine's user name is the system's
installed="$drive/Program Files/decagon"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The product entries of Apps & features named decagon: "key|version|publisher".
entries() {
  "$wine" reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' | awk '
    /^HKEY/ { if (name == "decagon") print key "|" shown "|" publisher; key = $0; name = shown = publisher = "" }
    $1 == "DisplayName" { name = $3 }
    $1 == "DisplayVersion" { shown = $3 }
    $1 == "Publisher" { publisher = substr($0, index($0, "REG_SZ") + 10) }
    END { if (name == "decagon") print key "|" shown "|" publisher }'
}
# The shortcut in the Start menu's programs: the machine's, or under wine,
# which gives its per-user folder for the machine's, the user's.
shortcut() {
  find "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs" \
    "$drive/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs" -name decagon.lnk 2>/dev/null |
    head -n1
}

echo "== silent install"
started=$(date +%s.%N)
"$wine" msiexec /i "$(windows_path "$msi")" /qn || fail "msiexec /i exited with $?"
echo "installed in $(seconds_since "$started") s"
for file in decagon.exe decagon-cli.exe README.md; do
  cmp -s "$installed/$file" "$stage/$file" || fail "Program Files\\decagon\\$file is missing or differs"
done
link=$(shortcut)
[ -n "$link" ] || stop "no Start-menu shortcut"
target=$(grep -ao 'C:\\Program Files\\decagon\\decagon\.exe' "$link" | head -n1 || true)
[ -n "$target" ] || stop "the shortcut does not lead to decagon.exe"
entry=$(entries)
[ "$(echo "$entry" | grep -c .)" = 1 ] || fail "Apps & features shows $(echo "$entry" | grep -c .) decagon entries"
[ "$(echo "$entry" | cut -d'|' -f2-)" = "$version|The decagon developers" ] ||
  fail "Apps & features shows: $entry"
icon=$("$wine" reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *ProductIcon *REG_SZ *//p' | head -n1)
[ -n "$icon" ] || fail "no icon for Apps & features"
icon_file="$drive/${icon#C:\\}"
cmp -s "${icon_file//\\//}" "$stage/decagon.ico" || fail "the icon of Apps & features ($icon) is not the program's"

echo "== the installed program, from the shortcut's target: a colour picked, kept in %APPDATA%"
settings="$drive/users/$user/AppData/Roaming/decagon/Vanteo.ini"
run_installed() {
  ("$wine" "$target") &
  program_pid=$!
  window=$(wait_for_window "Define the decagon") || stop "the installed program's window did not show"
  for _ in $(seq 100); do [ -f "$settings" ] && break; sleep 0.1; done
  [ -f "$settings" ] || stop "no settings file in %APPDATA%\\decagon"
}
end_installed() {
  xdotool windowfocus --sync "$window"
  xdotool key Escape
  wait_for_exit
}
lines_colour() { tr -d '\r' <"$settings" | sed -n 's/^Lines=//p'; }
run_installed
first=$(lines_colour)
# From the height field back to the lines' colour list; the next colour,
# then Enter: Compute takes the colours from the lists.
xdotool windowfocus --sync "$window"
xdotool key --delay 80 shift+Tab Down Return
end_installed
picked=$(lines_colour)
[ -n "$picked" ] && [ "$picked" != "$first" ] || fail "the picked colour was not saved ($first, then $picked)"
run_installed
[ "$(lines_colour)" = "$picked" ] || fail "the second start lost the colour: $(lines_colour), picked $picked"
end_installed
[ "$(ls -A "$installed" | tr '\n' ' ')" = "README.md decagon-cli.exe decagon.exe " ] ||
  fail "something was created in Program Files: $(ls -A "$installed")"

echo "== a newer package over it"
"$wine" msiexec /i "$(windows_path "$newer")" /qn || fail "msiexec /i of the newer package exited with $?"
entry=$(entries)
[ "$(echo "$entry" | grep -c .)" = 1 ] || fail "after the upgrade Apps & features shows: $entry"
[ "$(echo "$entry" | cut -d'|' -f2)" = "$newer_version" ] || fail "after the upgrade Apps & features shows: $entry"
[ -f "$installed/decagon.exe" ] || fail "the upgrade lost decagon.exe"
[ -n "$(shortcut)" ] || fail "the upgrade lost the shortcut"

echo "== silent uninstall"
started=$(date +%s.%N)
"$wine" msiexec /x "$(windows_path "$newer")" /qn || fail "msiexec /x exited with $?"
echo "uninstalled in $(seconds_since "$started") s"
[ ! -e "$installed" ] || fail "Program Files\\decagon is still there: $(ls -A "$installed")"
[ -z "$(shortcut)" ] || fail "the shortcut is still there"
[ -z "$(entries)" ] || fail "Apps & features still shows: $(entries)"
[ "$(lines_colour)" = "$picked" ] || fail "uninstalling touched the user's settings"

finish_checks "$(basename "$msi")"
