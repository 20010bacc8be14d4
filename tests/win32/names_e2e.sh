#!/usr/bin/env bash
# Names in any script under wine, with a Western code page: Cyrillic, Greek,
# Chinese and an emoji (a character beyond 16 bits) in every place a name
# crosses to the system.
# - decagon-cli.exe in a folder named in each script: --settings-path, the
#   settings file beside it read, its outputs named in that script, and the
#   messages that quote them, success and failure.
# - decagon.exe in a folder named so: its first start writes the settings
#   beside it, with the bytes of every other build (0xE9 in "Hypothénuse").
# - A user whose application-data folder holds all four (the shell folder in
#   the registry points there), running an installed copy in Program Files:
#   the settings live in that folder and nothing is created in Program Files;
#   names in each script typed into the real save dialog with xdotool, the
#   files made under them, and the box that quotes the name.
# Runs in a wine prefix of its own, made here, as the registry changes.
# Usage: names_e2e.sh DECAGON_EXE DECAGON_CLI_EXE E2E_PROBE_EXE WINE
set -euo pipefail
program=$1
cli=$2
probe=$3
wine=$4
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/xvfb.sh
source "$here/../e2e/xvfb.sh"
# shellcheck source=privateprefix.sh
source "$here/privateprefix.sh"
export LANG=C.UTF-8
begin_private_prefix
names=("Данные" "Ωμέγα" "测试" "😀")
start_private_prefix

echo "== decagon-cli.exe in folders named in each script"
for name in "${names[@]}"; do
  folder="$work/$name app"
  mkdir -p "$folder"
  cp "$cli" "$folder/decagon-cli.exe"
  printf '[Colors]\r\nLines=3\r\n' >"$folder/Vanteo.ini"
  cp "$folder/Vanteo.ini" "$work/settings.before"
  (
    cd "$folder"
    answer=$("$wine" decagon-cli.exe --settings-path)
    [ "$answer" = "$(windows_path "$folder/Vanteo.ini")" ] || fail "$name: --settings-path answered $answer"
    "$wine" decagon-cli.exe --svg - >figure.svg || fail "$name: --svg - failed"
    grep -q '#006600' figure.svg || fail "$name: the settings beside the program were not read"
    "$wine" decagon-cli.exe --height 100 --csv "$name.csv" --svg "$name.svg" --image "$name.png" --verbose \
      2>messages.txt || fail "$name: the outputs failed: $(cat messages.txt)"
    for type in csv svg png; do
      [ -s "$name.$type" ] || fail "$name: no $name.$type ($(ls))"
    done
    grep -qF "The file $name.png has been successfully saved" messages.txt ||
      fail "$name: the confirmation does not quote the name: $(cat messages.txt)"
    status=0
    "$wine" decagon-cli.exe --image "missing $name\\$name.png" 2>messages.txt || status=$?
    [ "$status" = 1 ] || fail "$name: an image into a missing folder gave status $status"
    grep -qF "Cannot save the file $name.png" messages.txt ||
      fail "$name: the failure does not quote the name: $(cat messages.txt)"
    cmp -s Vanteo.ini "$work/settings.before" || fail "$name: decagon-cli.exe changed the settings file"
    ! ls -a | grep -q '\.tmp$' || fail "$name: a temporary file was left"
  )
done
# Every figure is the same whatever its name.
cmp -s "$work/${names[0]} app/${names[0]}.png" "$work/${names[3]} app/${names[3]}.png" ||
  fail "the images named in two scripts differ"

"$wine" "$probe" settings "$(windows_path "$work/first-start.ini")" || stop "probe: settings"
"$wine" "$probe" csv 123.5 "$(windows_path "$work/values.csv")" || stop "probe: csv"

keys_to_dialog() {
  xdotool windowfocus --sync "$window"
  xdotool key --delay 80 "$@"
}
wait_for_no_window() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

echo "== decagon.exe in a folder named in every script: the settings beside it"
folder="$work/${names[*]}"
mkdir -p "$folder"
cp "$program" "$folder/decagon.exe"
(cd "$folder" && exec "$wine" decagon.exe) &
program_pid=$!
window=$(wait_for_window "Define the decagon") || stop "the window did not show"
cmp "$folder/Vanteo.ini" "$work/first-start.ini" || fail "the first start's settings beside the program differ"
keys_to_dialog Escape
wait_for_exit

echo "== an installed copy, and an application-data folder named in every script"
user="${names[*]}"
"$wine" reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' /v AppData \
  /t REG_EXPAND_SZ /d "C:\\users\\$user\\AppData\\Roaming" /f >/dev/null
wineboot >/dev/null 2>&1 || true # the session's environment follows the shell folders
installed="$WINEPREFIX/drive_c/Program Files/decagon"
mkdir -p "$installed"
cp "$program" "$installed/decagon.exe"
cp "$cli" "$installed/decagon-cli.exe"
settings="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/decagon/Vanteo.ini"
answer=$("$wine" 'C:\Program Files\decagon\decagon-cli.exe' --settings-path)
[ "$answer" = "C:\\users\\$user\\AppData\\Roaming\\decagon\\Vanteo.ini" ] ||
  fail "the installed copy's --settings-path answered $answer"
mkdir -p "$work/out"
(cd "$installed" && exec "$wine" 'C:\Program Files\decagon\decagon.exe') &
program_pid=$!
window=$(wait_for_window "Define the decagon") || stop "the installed program's window did not show"
for _ in $(seq 100); do [ -f "$settings" ] && break; sleep 0.1; done
cmp "$settings" "$work/first-start.ini" || fail "the first start's settings in the application-data folder differ"

compute_height "$window" 123.5 "$settings" "Rayon Exterieur=61.7500"

# Saves through the dialog under a typed name; prints the confirmation.
save_as() {
  local typed=$1 save box text
  save=$(wait_for_window "Save As") || stop "no save dialog for $typed"
  # xdotool types a character outside the keyboard's map through a key it
  # maps for the moment, and under load one can get lost: the name field
  # (control 1148) is read back, and typed again until it holds the name.
  local path attempt field
  path=$(windows_path "$work/out/$typed")
  for attempt in 1 2 3; do
    xdotool windowfocus --sync "$save"
    xdotool key ctrl+a
    xdotool type --delay 30 "$path"
    field=$("$wine" "$probe" itemtext "Save As" 1148 | tr -d '\r')
    [ "$field" = "$path" ] && break
    echo "typed again: the name field held $field" >&2
  done
  xdotool windowfocus --sync "$save"
  xdotool key Return
  wait_for_no_window "Save As" || stop "the save dialog stayed open for $typed"
  box=$(wait_for_window "Information") || stop "no confirmation for $typed"
  text=$("$wine" "$probe" itemtext Information 65535 | tr -d '\r') || stop "the confirmation cannot be read"
  xdotool windowfocus --sync "$box"
  xdotool key Return
  wait_for_no_window "Information" || stop "the confirmation for $typed stayed open"
  printf '%s' "$text"
}

# From the height field back to "Generate a CSV file"; "Generate a JPEG
# file" comes before it.
keys_to_dialog shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
for name in "${names[@]}"; do
  echo "-- a CSV file named $name"
  keys_to_dialog Return
  save_as "$name.csv" >/dev/null
  cmp "$work/out/$name.csv" "$work/values.csv" || fail "the CSV file named $name differs ($(ls "$work/out"))"
  echo "-- a JPEG file named $name"
  keys_to_dialog shift+Tab Return
  text=$(save_as "$name")
  [ -s "$work/out/$name.jpg" ] || fail "no JPEG file named $name ($(ls "$work/out"))"
  [ "$text" = "The file $name.jpg has been successfully saved" ] || fail "the box said: $text"
  keys_to_dialog Tab
done

keys_to_dialog Escape
wait_for_exit
grep -qF "Rayon Exterieur=61.7500" "$settings" || fail "the settings in the application-data folder were not saved"
grep -qaF "$(printf 'Hypoth\xe9nuse=')" "$settings" || fail "the settings lost the single byte 0xE9 of Hypothénuse"
[ -z "$(ls -A "$installed" | grep -v '^decagon')" ] ||
  fail "something was created in Program Files: $(ls -A "$installed")"

finish_checks "names in every script"
