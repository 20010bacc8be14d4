#!/usr/bin/env bash
# Runs a command with a private X server (Xvfb) as its display, for Windows
# programs under wine that open windows.
# Usage: withdisplay.sh COMMAND [ARGUMENTS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/xvfb.sh
source "$here/../e2e/xvfb.sh"
begin_run
start_xvfb
status=0
"$@" || status=$?
exit "$status"
