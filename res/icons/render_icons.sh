#!/usr/bin/env bash
# Redraws the icon and its PNG sizes; the results are committed, so a build needs none of this.
# Needs python3 and rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
python3 draw_icon.py 16 3.5 10 > vexilon.svg
python3 draw_icon.py 6 11 22 > vexilon-small.svg      # fewer, thicker wires for 16 to 24 px
for n in 16 22 24 32 48 64 128 256; do
    src=vexilon.svg
    [ "$n" -le 24 ] && src=vexilon-small.svg
    mkdir -p "hicolor/${n}x${n}/apps"
    rsvg-convert -w "$n" -h "$n" "$src" -o "hicolor/${n}x${n}/apps/vexilon.png"
done
