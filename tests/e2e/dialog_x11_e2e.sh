#!/usr/bin/env bash
# The program's window on a real X server: runs the given test program on a
# private Xvfb with Qt's X11 platform.
set -euo pipefail
tests="$1"
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xvfb.sh
source "$here/xvfb.sh"
begin_run
start_xvfb
QT_QPA_PLATFORM=xcb "$tests"
