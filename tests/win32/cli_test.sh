#!/usr/bin/env bash
# decagon-cli.exe under wine, as a user runs it: a copy in a folder of its
# own with a settings file beside it.
#   cli_test.sh PROGRAM RUNNER...   (RUNNER: wine, with its environment)
set -euo pipefail
program="$1"
shift
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/decagon-cli.exe"
cd "$folder"
run() { "$@" ./decagon-cli.exe "${arguments[@]}"; }
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# The colours come from Vanteo.ini beside the program: outline position 3 is
# #006600; the file is only read.
arguments=(--svg -)
run "$@" >default.svg
grep -q '#006600' default.svg && fail "colour 3 drawn without the settings file"
printf '[Colors]\r\nLines=3\r\n' >Vanteo.ini
run "$@" >mine.svg
grep -q '#006600' mine.svg || fail "the settings file beside the program was not read"
[ "$(cat Vanteo.ini)" = "$(printf '[Colors]\r\nLines=3\r')" ] || fail "the settings file was written"

# An image file at quality 95 and 96 dpi, silently; its confirmation on
# standard error with --verbose.
arguments=(--height 100 --image figure.jpg)
run "$@" 2>messages.txt || fail "--image figure.jpg exited with $?"
head -c 20 figure.jpg | od -An -tx1 | tr -d ' \n' | grep -q '^ffd8ffe000104a46494600010101006000600000' ||
  fail "figure.jpg is no JFIF file of 96 dpi"
[ ! -s messages.txt ] || fail "a run that succeeds said: $(cat messages.txt)"
arguments=(--height 100 --image figure.jpg --verbose)
run "$@" 2>messages.txt || fail "--image figure.jpg --verbose exited with $?"
grep -q 'The file figure.jpg has been successfully saved' messages.txt || fail "no confirmation: $(cat messages.txt)"

# Failures: an unknown type (status 1), a refused value (status 2); neither
# leaves a file behind.
arguments=(--image figure.nosuch)
status=0
run "$@" 2>messages.txt || status=$?
[ "$status" = 1 ] || fail "an unknown image type gave status $status"
grep -q 'This image type is not known' messages.txt || fail "no message for an unknown type: $(cat messages.txt)"
arguments=(--height abc --csv values.csv)
status=0
run "$@" 2>/dev/null || status=$?
[ "$status" = 2 ] || fail "a height that is no number gave status $status"
[ ! -e figure.nosuch ] && [ ! -e values.csv ] || fail "a failed run left a file"
ls -a | grep -q '\.tmp$' && fail "a temporary file was left"

if [ "$failures" -gt 0 ]; then exit 1; fi
echo "decagon-cli.exe: all checks passed"
