#!/usr/bin/env bash
# Runs decagon-cli once per line of cases.txt (its arguments) and compares
# the standard output with the expected bytes in <line number>.out, made by
# the Linux program. Both the Linux and the Windows suite run it, so the two
# programs write the same bytes: the text file, the values, the SVG, PDF and
# DXF drawings, and the images of the program's own encoders. An argument
# @NAME is a file of that name in a scratch folder, whose bytes are compared
# instead of the standard output.
#   samebytes.sh CASES_FOLDER COMMAND...   (COMMAND: the program, or wine and the program)
#   samebytes.sh --write CASES_FOLDER COMMAND...   writes the expected files instead
set -euo pipefail
write=0
if [ "$1" = "--write" ]; then write=1; shift; fi
cases="$1"
shift
# The program runs as a copy in a folder of its own, so that its colours
# (which the drawings hold) are the defaults, never those of a Vanteo.ini
# beside the build's program or in the user's configuration folder.
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
program="${*: -1}"
cp "$program" "$home/"
set -- "${@:1:$#-1}" "$home/$(basename "$program")"
export XDG_CONFIG_HOME="$home"
failed=0
number=0
while IFS= read -r line || [ -n "$line" ]; do
  number=$((number + 1))
  read -r -a arguments <<<"$line"
  expected="$cases/$number.out"
  actual="$(mktemp)"
  output=""
  for i in "${!arguments[@]}"; do
    if [[ "${arguments[$i]}" == @* ]]; then
      output="$home/${arguments[$i]#@}"
      arguments[i]="$output"
    fi
  done
  "$@" "${arguments[@]}" >"$actual"
  if [ -n "$output" ]; then mv "$output" "$actual"; fi
  if [ "$write" = 1 ]; then
    cp "$actual" "$expected"
  elif ! cmp -s "$actual" "$expected"; then
    echo "decagon-cli $line: the output differs from $expected:"
    cmp "$actual" "$expected" || true
    failed=1
  fi
  rm -f "$actual"
done <"$cases/cases.txt"
if [ "$write" = 0 ]; then echo "$number cases compared"; fi
exit "$failed"
