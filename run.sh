#!/usr/bin/env bash
# Installs what the build needs, builds, and opens the Vexilon window.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
vexilon_install_packages "${VEXILON_BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" >/dev/null

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    out=${TMPDIR:-/tmp}/vexilon-toro.png
    build/vexilon-render --surface toro -o "$out"
    echo "There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open."
    echo "Run ./run.sh from a desktop session, or on a virtual screen: xvfb-run ./build/vexilon (Debian package xvfb)"
    echo "Meanwhile the command line rendered the torus to $out (see build/vexilon-render --help)."
    exit 0
fi
exec build/vexilon
