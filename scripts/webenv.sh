# Shared by scripts/web.sh and scripts/test.sh web: configures and builds
# the page into build-web/web.

# Emscripten's optimiser runs on node and needs Debian's acorn, which a node
# other than Debian's own does not look for.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"

build_web() {
  if [ ! -f build-web/build.ninja ]; then
    emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release
  fi
  cmake --build build-web
}
