#!/usr/bin/env bash
# Builds decagon with its tests and benchmarks and runs every test.
#   scripts/test.sh            the normal build, in build/
#   scripts/test.sh sanitize   with AddressSanitizer and UndefinedBehaviorSanitizer, in build-sanitize/
#   scripts/test.sh fuzz       the libFuzzer fuzzers (clang), each for FUZZ_SECONDS (default 60), in build-fuzz/
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-normal}"
bash scripts/deps.sh "$mode"

if [ "$mode" = "fuzz" ]; then
  dir=build-fuzz
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DDECAGON_FUZZ=ON -DDECAGON_BUILD_BENCH=OFF -DDECAGON_FUZZ_SECONDS="${FUZZ_SECONDS:-60}"
  cmake --build "$dir" --target decagon_fuzzers
  ctest --test-dir "$dir" --output-on-failure -L fuzz -j "$(nproc)"
  exit 0
elif [ "$mode" = "sanitize" ]; then
  dir=build-sanitize
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDECAGON_SANITIZE=ON -DDECAGON_BUILD_BENCH=OFF
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
else
  dir=build
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
  # Formatting is part of the suite. The sources are found without git, so
  # that a plain copy of the files (a tarball) is checked the same way.
  find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -type f -print0 |
    xargs -0 clang-format --dry-run --Werror
fi
cmake --build "$dir"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
