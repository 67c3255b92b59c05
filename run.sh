#!/usr/bin/env bash
# Installs what the build needs, builds, and opens the Vexilon window.
# ./run.sh --web [PORT] builds the page instead and serves it on 127.0.0.1:PORT (default 8080).
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
if [ "${1:-}" = "--web" ]; then
    port=${2:-8080}
    if ! [[ "$port" =~ ^[0-9]+$ ]] || [ "$port" -lt 1 ] || [ "$port" -gt 65535 ]; then
        echo "run.sh: bad port '$port': a whole number from 1 to 65535 is accepted" >&2
        exit 2
    fi
    web/build.sh
    echo "The page as one file, to open from disk or copy anywhere: $(pwd)/build-web/vexilon.html"
    echo "Serving build-web/site/ (Ctrl+C stops it); open this address in a browser:"
    exec node web/serve.mjs build-web/site "$port"
elif [ $# -gt 0 ]; then
    echo "run.sh: unknown option '$1': only --web [PORT] is accepted" >&2
    exit 2
fi
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
