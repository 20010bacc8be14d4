#!/usr/bin/env bash
# Installs what building, running and testing decagon needs on Debian 12.
# Idempotent: apt-get runs only when a package is missing.
#   scripts/deps.sh            for the Linux build
#   scripts/deps.sh fuzz       the Linux build, plus clang and its libFuzzer runtime
#   scripts/deps.sh package    the Linux build, plus what makes and checks the Debian package
#   scripts/deps.sh windows    for the Windows cross build and its tests under wine
#   scripts/deps.sh web        for the browser build (Emscripten) and its tests in headless Chromium
set -euo pipefail

if [ "${1:-}" = "web" ]; then
  packages=(
    cmake ninja-build emscripten node-acorn node-terser libstb-dev clang-format
    chromium chromium-driver python3-selenium python3-pil
  )
  # npm fetches axe-core for the accessibility check; any npm will do.
  if ! command -v npm >/dev/null; then packages+=(npm); fi
elif [ "${1:-}" = "windows" ]; then
  packages=(
    cmake ninja-build clang-format
    g++-mingw-w64-x86-64 googletest libstb-dev libz-mingw-w64-dev
    wine wine64 xvfb xauth xdotool x11-utils imagemagick python3-pefile wixl
  )
else
  packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins
    libgtest-dev libgmock-dev libbenchmark-dev libstb-dev
    fonts-dejavu-core fonts-dejavu-extra locales
    xvfb xauth xdotool x11-utils xclip imagemagick libx11-dev
    libjpeg-turbo-progs libturbojpeg0-dev zlib1g-dev python3-pil librsvg2-bin clang-format
    desktop-file-utils appstream man-db
    qpdf poppler-utils mupdf-tools python3-ezdxf python3-pil librecad
  )
  case "${1:-}" in
  fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
  package) packages+=(dpkg-dev file lintian) ;;
  esac
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
