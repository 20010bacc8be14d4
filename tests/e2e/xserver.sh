# Sourced by the end-to-end tests: starts a private Xvfb server and exports
# DISPLAY; the server goes when the test's shell exits.
start_xserver() {
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
  XSERVER_PID=$!
  trap 'kill $XSERVER_PID 2>/dev/null; wait $XSERVER_PID 2>/dev/null' EXIT
  for _ in $(seq 100); do
    if [ -s "$fd_file" ]; then break; fi
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
  unset QT_QPA_PLATFORM
  [ "$DISPLAY" != ":" ] || { echo "Xvfb did not start"; return 1; }
}
