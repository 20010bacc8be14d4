#!/usr/bin/env bash
# Builds the Debian package decagon_<version>_amd64.deb in build-package/
# and checks it with lintian (no errors allowed). Installs what it needs with
# apt-get (only what is missing), so running it again costs only the build.
#   bash scripts/package.sh
#   sudo apt-get install ./build-package/decagon_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh package

dir=build-package
# Debian's hardening flags (fortified functions, read-only relocations).
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
cppflags=$(dpkg-buildflags --get CPPFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DDECAGON_BUILD_TESTS=OFF -DDECAGON_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags"
cmake --build "$dir"
rm -f "$dir"/decagon_*.deb
(cd "$dir" && cpack -G DEB)
deb=$(ls "$dir"/decagon_*_amd64.deb)

# Errors fail the build; warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "Package: $deb ($(dpkg-deb -f "$deb" Installed-Size) KiB installed)"
