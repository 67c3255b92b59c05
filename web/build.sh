#!/usr/bin/env bash
# Builds the page into build-web/: the core as WebAssembly with Debian's emscripten, its libraries
# from Debian's sources, then build-web/site/ and the single file build-web/vexilon.html.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
vexilon_install_packages "${VEXILON_WEB_PACKAGES[@]}"
export NODE_PATH=/usr/share/nodejs   # Debian's emscripten finds acorn there, beside any node
web/fetch_sources.sh build-web/sources
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j "$(nproc 2>/dev/null || echo 2)"
# The page's SIMD paths give what the plain code gives, or nothing is built.
node build-web/web/simd_paths_check.js
