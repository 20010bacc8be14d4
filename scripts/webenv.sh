# Shared by scripts/web.sh and scripts/test.sh web: configures and builds
# the page into build-web/web.

# Emscripten's optimiser runs on node and needs Debian's acorn, which a node
# other than Debian's own does not look for.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"

# zlib's C sources for the page's PNG and TIFF encoders: Debian's emscripten
# can only fetch its own zlib port from the network. The npm package
# zlib-sync carries zlib 1.3.1's sources unchanged; its deflate writes the
# same bytes as Debian's zlib for the encoders' settings, which the browser
# tests check against decagon-cli. The tarball is pinned by its checksum.
zlib_tarball=zlib-sync-0.1.10.tgz
zlib_sha256=bd2180fc18426cf464ecab1321bb31a1af81c36b927a28cdb26c3a56f302f2b6

fetch_zlib() {
  local folder=build-web/zlib
  [ -f "$folder/package/deps/zlib/deflate.c" ] && return 0
  mkdir -p "$folder"
  if ! (cd "$folder" && npm pack --silent zlib-sync@0.1.10 >/dev/null); then
    echo "cannot fetch zlib's sources from the npm registry (npm pack zlib-sync@0.1.10)" >&2
    return 1
  fi
  if ! echo "$zlib_sha256  $folder/$zlib_tarball" | sha256sum -c --quiet; then
    echo "zlib-sync's tarball is not the one expected" >&2
    return 1
  fi
  tar -C "$folder" -xzf "$folder/$zlib_tarball" package/deps/zlib
}

build_web() {
  fetch_zlib
  if [ ! -f build-web/build.ninja ]; then
    emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DDECAGON_ZLIB_SOURCE="$PWD/build-web/zlib/package/deps/zlib"
  fi
  cmake --build build-web
}
