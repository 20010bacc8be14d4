#!/usr/bin/env bash
# Builds decagon with its tests and benchmarks and runs every test.
#   scripts/test.sh            the normal build, in build/
#   scripts/test.sh sanitize   with AddressSanitizer and UndefinedBehaviorSanitizer, in build-sanitize/
#   scripts/test.sh fuzz       the libFuzzer fuzzers (clang), each for FUZZ_SECONDS (default 60), in build-fuzz/
#   scripts/test.sh windows    the Windows programs, cross-built with mingw-w64 in build-windows/, their
#                              tests run under wine
#   scripts/test.sh web        the page (WebAssembly) in build-web/, driven in headless Chromium against
#                              decagon-cli and the desktop's preview (build/)
#   scripts/test.sh package    builds the Debian package and installs it in a brand-new Debian 12 root
#                              (as root; slow: a few minutes, most of them apt-get)
set -euo pipefail
cd "$(dirname "$0")/.."

mode="${1:-normal}"

check_format() {
  # Formatting is part of the suite. The sources are found without git, so
  # that a plain copy of the files (a tarball) is checked the same way.
  find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -type f -print0 |
    xargs -0 clang-format --dry-run --Werror
}

case "$mode" in
web)
  bash scripts/deps.sh
  bash scripts/deps.sh web
  source scripts/webenv.sh
  check_format
  # The native side of the comparisons.
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
  cmake --build build --target decagon_cli web_preview_reference
  build_web
  # axe-core for the accessibility check, into the test's folder only (the
  # page never serves it).
  axe=build-web/axe/package/axe.min.js
  if [ ! -f "$axe" ]; then
    mkdir -p build-web/axe
    (cd build-web/axe && tarball=$(npm pack --silent axe-core@4) && tar -xzf "$tarball")
  fi
  exec /usr/bin/python3 tests/web/web_test.py build-web/web build/app/decagon-cli \
    build/tests/web/web_preview_reference "$axe"
  ;;
package)
  bash scripts/package.sh
  exec bash tests/package/fresh_install_test.sh build-package/decagon_*_amd64.deb
  ;;
windows)
  bash scripts/deps.sh windows
  dir=build-windows
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake
  check_format
  cmake --build "$dir"
  # A private wine installation in the build folder (the one CMake hands the
  # tests), made once: creating it takes longer than a test may. One wine
  # server serves every test of the run, so that each starts quickly; wine's
  # own background programs start here, away from the tests' output, which
  # CTest would otherwise wait on until they end.
  export WINEPREFIX="$PWD/$dir/wineprefix" WINEDEBUG=-all
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  # wine's desktop starts with the first program and keeps the display it
  # met for the whole run; without one, no test's window would ever show. So
  # the first program meets a private X server that stays up until the end.
  # shellcheck source=../tests/e2e/xvfb.sh
  source tests/e2e/xvfb.sh
  start_xvfb
  wineserver -p 2>/dev/null || true # one may run already for this prefix
  trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
  wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
  unset DISPLAY
  ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
  exit 0
  ;;
fuzz)
  bash scripts/deps.sh fuzz
  dir=build-fuzz
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DDECAGON_FUZZ=ON -DDECAGON_BUILD_BENCH=OFF -DDECAGON_FUZZ_SECONDS="${FUZZ_SECONDS:-60}"
  cmake --build "$dir" --target decagon_fuzzers
  ctest --test-dir "$dir" --output-on-failure -L fuzz -j "$(nproc)"
  exit 0
  ;;
sanitize)
  bash scripts/deps.sh
  dir=build-sanitize
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDECAGON_SANITIZE=ON -DDECAGON_BUILD_BENCH=OFF
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  ;;
normal)
  bash scripts/deps.sh
  dir=build
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
  check_format
  ;;
*)
  echo "usage: scripts/test.sh [sanitize|fuzz|windows|web|package]" >&2
  exit 2
  ;;
esac
cmake --build "$dir"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
