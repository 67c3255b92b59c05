#!/usr/bin/env bash
# Installs what the build needs, builds, and runs Vexilon.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
vexilon_install_packages "${VEXILON_BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
out=${TMPDIR:-/tmp}/vexilon-toro.png
build/vexilon-render --surface toro -o "$out"
echo "Rendered the torus to $out (the window comes next; see README.md for vexilon-render)."
