#!/usr/bin/env bash
# Runs decagon-cli once per line of cases.txt (its arguments) and compares
# the standard output with the expected bytes in <line number>.out, made by
# the Linux program. Both the Linux and the Windows suite run it, so the two
# programs write the same bytes.
#   samebytes.sh CASES_FOLDER COMMAND...   (COMMAND: the program, or wine and the program)
#   samebytes.sh --write CASES_FOLDER COMMAND...   writes the expected files instead
set -euo pipefail
write=0
if [ "$1" = "--write" ]; then write=1; shift; fi
cases="$1"
shift
failed=0
number=0
while IFS= read -r line || [ -n "$line" ]; do
  number=$((number + 1))
  read -r -a arguments <<<"$line"
  expected="$cases/$number.out"
  actual="$(mktemp)"
  "$@" "${arguments[@]}" >"$actual"
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
