#!/usr/bin/env python3
"""Writes the application icon: a blue wire torus on a black rounded square framed in white.

Every wire of a torus is a circle, and a circle seen in parallel projection is an ellipse, so the
icon is made of <ellipse> elements only. Usage: draw_icon.py MERIDIANS STROKE FRAME > FILE.svg (16 3.5 10 for the full icon; small
sizes read better with fewer, thicker wires: 6 11 22)
"""
import math
import sys

SIDE = 256
R, r = 60.0, 27.0           # radius of the centre circle, radius of the tube (icon units)
ELEVATION = math.radians(38)  # the eye above the torus' plane
CENTRE = (128.0, 128.0)


def project(p):
    """Parallel projection: x to the right, the torus' plane tilted towards the eye."""
    x, y, z = p
    return (x, y * math.sin(ELEVATION) - z * math.cos(ELEVATION))


def ellipse(centre, a, b, radius):
    """The projection of the circle centre + radius*(cos t*a + sin t*b) as cx, cy, rx, ry, angle."""
    cu, cv = project(centre)
    pu, pv = project(a)
    qu, qv = project(b)
    # Semi-axes of the image of the unit circle under [[pu, qu], [pv, qv]]: the singular values.
    e = (pu * pu + pv * pv + qu * qu + qv * qv) / 2
    d = math.sqrt(max(0.0, ((pu * pu + pv * pv - qu * qu - qv * qv) / 2) ** 2
                      + (pu * qu + pv * qv) ** 2))
    s1, s2 = math.sqrt(e + d), math.sqrt(max(0.0, e - d))
    angle = 0.5 * math.atan2(2 * (pu * pv + qu * qv), pu * pu + qu * qu - pv * pv - qv * qv)
    return (CENTRE[0] + cu, CENTRE[1] + cv, radius * s1, radius * s2, math.degrees(angle))


def main():
    meridians = int(sys.argv[1]) if len(sys.argv) > 1 else 18
    stroke = float(sys.argv[2]) if len(sys.argv) > 2 else 3.5
    frame = float(sys.argv[3]) if len(sys.argv) > 3 else 10.0
    wires = []
    for i in range(meridians):
        phi = 2 * math.pi * (i + 0.5) / meridians
        c = (R * math.cos(phi), R * math.sin(phi), 0.0)
        wires.append(ellipse(c, (math.cos(phi), math.sin(phi), 0.0), (0.0, 0.0, 1.0), r))
    parallels = ((0.0, R + r), (0.0, R - r), (r, R), (-r, R))
    if meridians <= 8:      # the small variant keeps the hole open: the two equators only
        parallels = parallels[:2]
    for z, radius in parallels:
        wires.append(ellipse((0.0, 0.0, z), (1.0, 0.0, 0.0), (0.0, 1.0, 0.0), radius))

    out = sys.stdout
    out.write('<?xml version="1.0" encoding="UTF-8"?>\n')
    out.write(f'<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="{SIDE}" '
              f'height="{SIDE}" viewBox="0 0 {SIDE} {SIDE}">\n')
    out.write('  <title>Vexilon</title>\n')
    # The white frame, with a thin dark rim so it still shows on a light background.
    inset = frame / 2 + 3
    box = f'x="{inset:g}" y="{inset:g}" width="{SIDE - 2 * inset:g}" height="{SIDE - 2 * inset:g}" ' \
          f'rx="{40 - inset:g}" ry="{40 - inset:g}" fill="#000000"'
    out.write(f'  <rect {box} stroke="#3c3c3c" stroke-width="{frame + 6:g}"/>\n')
    out.write(f'  <rect {box} stroke="#ffffff" stroke-width="{frame:g}"/>\n')
    out.write(f'  <g fill="none" stroke="#2f6bff" stroke-width="{stroke:g}">\n')
    for cx, cy, rx, ry, angle in wires:
        out.write(f'    <ellipse cx="{cx:.2f}" cy="{cy:.2f}" rx="{rx:.2f}" ry="{ry:.2f}" '
                  f'transform="rotate({angle:.2f} {cx:.2f} {cy:.2f})"/>\n')
    out.write('  </g>\n</svg>\n')


if __name__ == "__main__":
    main()
