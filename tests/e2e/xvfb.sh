# Sourced by the end-to-end scripts and the cold-start benchmark: starts a
# private Xvfb and exports DISPLAY; stop_xvfb ends it. begin_run and end_run
# frame a whole script around it. XVFB_SCREEN sets the screen (default
# 1600x1000x24). The default screen is large enough for the dialog at its
# natural size. The display number is picked at random from a high range and
# the server is only used once its lock file names it, so that servers other
# test runs start and stop at the same time on this machine cannot get mixed up
# with it.
start_xvfb() {
  local attempt display tries
  for attempt in $(seq 20); do
    display=$((200 + RANDOM % 700))
    [ -e "/tmp/.X${display}-lock" ] && continue
    XVFB_LOG=$(mktemp)
    # -noreset: a server that resets when its last client leaves refuses
    # connections for a moment, which a program started just then meets.
    Xvfb ":$display" -screen 0 "${XVFB_SCREEN:-1600x1000x24}" -nolisten tcp -noreset >"$XVFB_LOG" 2>&1 &
    XVFB_PID=$!
    for tries in $(seq 100); do
      kill -0 "$XVFB_PID" 2>/dev/null || break
      if [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X${display}-lock")" = "$XVFB_PID" ] &&
        xdpyinfo -display ":$display" >/dev/null 2>&1; then
        export DISPLAY=":$display"
        unset QT_QPA_PLATFORM QT_PLUGIN_PATH QT_QPA_PLATFORM_PLUGIN_PATH WAYLAND_DISPLAY
        XDG_RUNTIME_DIR=$(mktemp -d)
        chmod 700 "$XDG_RUNTIME_DIR"
        export XDG_RUNTIME_DIR
        return 0
      fi
      sleep 0.05
    done
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  done
  XVFB_PID=""
  echo "Xvfb did not start" >&2
  return 1
}

# What the server said and whether it still runs, for a failure report.
describe_xvfb() {
  if kill -0 "${XVFB_PID:-0}" 2>/dev/null; then
    echo "Xvfb $XVFB_PID on $DISPLAY still runs"
  else
    echo "Xvfb ${XVFB_PID:-?} on ${DISPLAY:-?} has ended"
  fi
  [ -n "${XVFB_LOG:-}" ] && tail -n 20 "$XVFB_LOG"
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
  if [ -n "${XDG_RUNTIME_DIR:-}" ] && [[ "$XDG_RUNTIME_DIR" == /tmp/* ]]; then
    rm -rf "$XDG_RUNTIME_DIR"
  fi
  if [ -n "${XVFB_LOG:-}" ]; then
    rm -f "$XVFB_LOG"
  fi
}

# A scratch folder in $work for the script; on its exit the program whose
# pid stands in $program_pid (if any) is ended, the server stopped and the
# folder removed.
begin_run() {
  work=$(mktemp -d)
  program_pid=""
  trap end_run EXIT
}

end_run() {
  if [ -n "${program_pid:-}" ]; then kill "$program_pid" 2>/dev/null || true; fi
  stop_xvfb
  rm -rf "$work"
}

# Waits up to 30 s for a visible window with exactly this title; prints its id.
wait_for_window() {
  local title=$1 id=""
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}
