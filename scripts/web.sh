#!/usr/bin/env bash
# Builds the page (the core as WebAssembly, web/) into build-web/ and serves
# it at http://127.0.0.1:8080 until stopped (Ctrl+C). PORT=8081 picks another.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh web
source scripts/webenv.sh
build_web
echo "decagon: http://127.0.0.1:${PORT:-8080}/"
exec /usr/bin/python3 -m http.server "${PORT:-8080}" --bind 127.0.0.1 --directory build-web/web
