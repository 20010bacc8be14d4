# Sourced by the Windows end-to-end tests that need a wine prefix of their own
# (they change its registry, or install into it), after ../e2e/xvfb.sh.
# begin_private_prefix makes the scratch folder, and on exit ends the program
# whose pid stands in $program_pid, the prefix's wine server and the X server;
# start_private_prefix starts the X server first (wine's desktop belongs to
# the display of the first wine program, windows or not), then the prefix.
# fail counts a failed check in $failures; stop ends the test at once.
# No Mono or Gecko question in a new prefix, and no desktop entries for this
# machine's own menus from shortcuts made in it.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

begin_private_prefix() {
  begin_run
  export WINEPREFIX="$work/prefix"
  failures=0
  trap end_private_prefix EXIT
}

end_private_prefix() {
  if [ -n "${program_pid:-}" ]; then kill "$program_pid" 2>/dev/null || true; fi
  program_pid=""
  wineserver -k 2>/dev/null || true
  end_run
}

start_private_prefix() {
  start_xvfb
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
}

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

stop() {
  echo "FAILED: $*"
  describe_xvfb
  exit 1
}

# Whether any check failed: the test's exit status.
finish_checks() {
  if [ "$failures" -gt 0 ]; then exit 1; fi
  echo "$*: all checks passed"
}

# A folder of this machine as the Windows programs under wine name it.
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# Waits up to 10 s for the program in $program_pid to end; its status must be 0.
wait_for_exit() {
  local status=""
  for _ in $(seq 100); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      status=0
      wait "$program_pid" || status=$?
      break
    fi
    sleep 0.1
  done
  program_pid=""
  [ "$status" = 0 ] || fail "the program did not end well (${status:-still running})"
}

# Types a height into the window's height field (which has the focus at
# start) and Enter, then waits up to 10 s for the settings file to hold the
# text that the Compute wrote.
compute_height() {
  local window=$1 height=$2 settings=$3 written=$4
  xdotool windowfocus --sync "$window"
  xdotool type --delay 40 "$height"
  xdotool key Return
  for _ in $(seq 100); do
    grep -qF "$written" "$settings" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "Enter did not compute $height"
}
