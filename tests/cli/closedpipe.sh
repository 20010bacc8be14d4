#!/usr/bin/env bash
# A reader that quits before the end: decagon-cli follows the shell's custom
# for a closed pipe, as cat and head do. It dies of SIGPIPE (status 141 in
# the shell) without a word; when its parent ignores SIGPIPE, the write
# fails instead and it exits with status 1 and the output's message.
#   closedpipe.sh DECAGON_CLI
set -uo pipefail
cli="$1"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}
# A drawing far larger than a pipe holds (some 230 kB).
large=(--height 2000 --paper a4)

"$cli" --pdf - "${large[@]}" 2>"$folder/err" | head -c 100 >/dev/null
status="${PIPESTATUS[0]}"
[ "$status" = 141 ] || fail "standard output: status $status, not 141"
[ ! -s "$folder/err" ] || fail "standard output: said $(cat "$folder/err")"

mkfifo "$folder/fifo"
head -c 100 "$folder/fifo" >/dev/null &
"$cli" --pdf "$folder/fifo" "${large[@]}" 2>"$folder/err"
status=$?
wait
[ "$status" = 141 ] || fail "FIFO: status $status, not 141"
[ ! -s "$folder/err" ] || fail "FIFO: said $(cat "$folder/err")"

# The parent ignores SIGPIPE, as some supervisors do.
(
  trap '' PIPE
  "$cli" --pdf - "${large[@]}" 2>"$folder/err" | head -c 10 >/dev/null
  echo "${PIPESTATUS[0]}" >"$folder/status"
  head -c 100 "$folder/fifo" >/dev/null &
  "$cli" --pdf "$folder/fifo" "${large[@]}" 2>"$folder/fifo-err"
  echo $? >"$folder/fifo-status"
  wait
)
[ "$(cat "$folder/status")" = 1 ] || fail "SIGPIPE ignored: status $(cat "$folder/status"), not 1"
[ "$(cat "$folder/err")" = "Cannot write to the standard output" ] || fail "SIGPIPE ignored: said $(cat "$folder/err")"
[ "$(cat "$folder/fifo-status")" = 1 ] || fail "SIGPIPE ignored, FIFO: status $(cat "$folder/fifo-status"), not 1"
[ "$(cat "$folder/fifo-err")" = "Cannot save the file fifo" ] || fail "SIGPIPE ignored, FIFO: said $(cat "$folder/fifo-err")"

leftovers="$(ls -A "$folder" | grep -v -x -e fifo -e err -e status -e fifo-err -e fifo-status)"
[ -z "$leftovers" ] || fail "left behind: $leftovers"
[ "$failed" = 0 ] && echo "a closed pipe ends decagon-cli as it ends cat"
exit "$failed"
