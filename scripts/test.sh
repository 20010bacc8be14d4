#!/usr/bin/env bash
# Builds decagon with its tests and benchmarks and runs every test.
#   scripts/test.sh            the normal build, in build/
#   scripts/test.sh sanitize   with AddressSanitizer and UndefinedBehaviorSanitizer, in build-sanitize/
#   scripts/test.sh package    builds the Debian package and installs it in a brand-new Debian 12 root
#                              (as root; slow: a few minutes, most of them apt-get)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

mode="${1:-normal}"
if [ "$mode" = "package" ]; then
  bash scripts/package.sh
  exec bash tests/package/fresh_install_test.sh build-package/decagon_*_amd64.deb
fi
if [ "$mode" = "sanitize" ]; then
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
