#!/usr/bin/env bash
# Builds decagon and starts it. The build lands in build/, the program in
# build/bin/decagon; its settings file is build/bin/Vanteo.ini.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target decagon
exec ./build/bin/decagon
