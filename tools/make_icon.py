#!/usr/bin/env python3
"""Draws the application icon: a brief page on a blue badge with the gleaner's ear of wheat.

    tools/make_icon.py [ICON_FOLDER]

ICON_FOLDER defaults to resources/icons beside this script's folder. The one drawing is done
twice: on the sub-pixel canvas of make_images.py for a PNG at each usual size
(hicolor/NxN/apps/gleaner-light.png) and on a canvas that writes the same shapes as SVG
(hicolor/scalable/apps/gleaner-light.svg).
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_images import Canvas, colour, draw_wheat, encode_png  # noqa: E402

NAME = "gleaner-light"
SIZES = (16, 24, 32, 48, 64, 128, 256)
SVG_SIZE = 256


class SvgCanvas:
    """The shapes of Canvas written as SVG elements, in the same coordinates."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.elements = []

    @staticmethod
    def _paint(c):
        r, g, b, a = c
        paint = "rgb(%d,%d,%d)" % (r, g, b)
        return paint, ("" if a >= 1 else ' %%s-opacity="%.2f"' % a)

    def _fill(self, c):
        paint, opacity = self._paint(c)
        return 'fill="%s"%s' % (paint, opacity % "fill" if opacity else "")

    def _stroke(self, c, width):
        paint, opacity = self._paint(c)
        return ('fill="none" stroke="%s" stroke-width="%.2f" stroke-linecap="round" '
                'stroke-linejoin="round"%s' % (paint, width, opacity % "stroke" if opacity else ""))

    def rect(self, x0, y0, x1, y1, c):
        self.elements.append('<rect x="%.2f" y="%.2f" width="%.2f" height="%.2f" %s/>'
                             % (x0, y0, x1 - x0, y1 - y0, self._fill(c)))

    def rounded_rect(self, x0, y0, x1, y1, radius, c):
        self.elements.append('<rect x="%.2f" y="%.2f" width="%.2f" height="%.2f" rx="%.2f" %s/>'
                             % (x0, y0, x1 - x0, y1 - y0, radius, self._fill(c)))

    def ellipse(self, cx, cy, rx, ry, c, angle=0.0):
        turn = ' transform="rotate(%.2f %.2f %.2f)"' % (math.degrees(angle), cx, cy) if angle else ""
        self.elements.append('<ellipse cx="%.2f" cy="%.2f" rx="%.2f" ry="%.2f"%s %s/>'
                             % (cx, cy, rx, ry, turn, self._fill(c)))

    def polygon(self, points, c):
        self.elements.append('<polygon points="%s" %s/>' % (self._points(points), self._fill(c)))

    def polyline(self, points, width, c):
        self.elements.append('<polyline points="%s" %s/>'
                             % (self._points(points), self._stroke(c, width)))

    def line(self, x0, y0, x1, y1, width, c):
        self.polyline([(x0, y0), (x1, y1)], width, c)

    @staticmethod
    def _points(points):
        return " ".join("%.2f,%.2f" % p for p in points)

    def text(self):
        return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
                '  %s\n</svg>\n' % (self.width, self.height, self.width, self.height,
                                    "\n  ".join(self.elements)))


def draw_icon(c, s):
    """The icon on canvas `c`, `s` pixels square."""
    c.rounded_rect(0.06 * s, 0.06 * s, 0.94 * s, 0.94 * s, 0.2 * s, colour("#1f4a86"))
    ink, rule = colour("#2f6fc0"), colour("#8a93a0")
    c.polygon([(0.4 * s, 0.17 * s), (0.71 * s, 0.17 * s), (0.84 * s, 0.3 * s), (0.84 * s, 0.83 * s),
               (0.4 * s, 0.83 * s)], colour("#ffffff"))
    c.polygon([(0.71 * s, 0.17 * s), (0.71 * s, 0.3 * s), (0.84 * s, 0.3 * s)], colour("#c8d3e2"))
    if s >= 24:
        c.line(0.5 * s, 0.3 * s, 0.63 * s, 0.3 * s, 0.045 * s, ink)
        for i, right in enumerate((0.76, 0.76, 0.7, 0.76, 0.66)):
            y = (0.42 + i * 0.085) * s
            c.line(0.5 * s, y, right * s, y, 0.035 * s, rule)
    # A soft shadow first, so the ear stands out against the page as well as the badge.
    shadow = colour("#0b2346", 0.55)
    draw_wheat(c, 0.265 * s, 0.91 * s, 0.7 * s, shadow, shadow)
    draw_wheat(c, 0.25 * s, 0.9 * s, 0.7 * s, colour("#f2c35b"), colour("#e0b050"))


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = argv[1] if len(argv) > 1 else os.path.join(root, "resources", "icons")
    for size in SIZES:
        canvas = Canvas(size, size)
        draw_icon(canvas, size)
        apps = os.path.join(folder, "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(apps, exist_ok=True)
        with open(os.path.join(apps, NAME + ".png"), "wb") as out:
            out.write(encode_png(size, size, canvas.reduce_rgba()))
    svg = SvgCanvas(SVG_SIZE, SVG_SIZE)
    draw_icon(svg, SVG_SIZE)
    apps = os.path.join(folder, "hicolor", "scalable", "apps")
    os.makedirs(apps, exist_ok=True)
    with open(os.path.join(apps, NAME + ".svg"), "w") as out:
        out.write(svg.text())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
