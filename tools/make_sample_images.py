#!/usr/bin/env python3
"""Draws the pictures of the bundled sample site (resources/sample-site/images) as GIF files.

    tools/make_sample_images.py [OUTPUT_FOLDER] [--preview FOLDER]

Uses the canvas and the GIF encoder of make_images.py beside it.
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_images import Canvas, colour, draw_wheat, write_pictures  # noqa: E402


def draw_sea_and_sky(c, width, height, horizon):
    c.vertical_gradient((120, 170, 225), (215, 232, 248))
    c.rect(0, horizon, width, height, colour("#2c6e9e"))
    for i in range(6):
        y = horizon + 6 + i * (height - horizon) / 6
        c.line(10 + i * 23 % 60, y, 70 + i * 37 % 90, y, 1.2, colour("#7fb3d9", 0.7))


def draw_harbour():
    width, height = 240, 150
    c = Canvas(width, height)
    draw_sea_and_sky(c, width, height, 96)
    c.ellipse(190, 38, 16, 16, colour("#ffd45a"))
    # The pier and the lighthouse at its end.
    c.rect(130, 90, 240, 100, colour("#6b5a4a"))
    c.polygon([(200, 90), (222, 90), (217, 40), (205, 40)], colour("#f4f1ea"))
    for y in (50, 64, 78):
        c.polygon([(203.5 - (y - 40) * 0.1, y), (218.5 + (y - 40) * 0.1, y),
                   (219.1 + (y - 40) * 0.1, y + 6), (202.9 - (y - 40) * 0.1, y + 6)],
                  colour("#c8412f"))
    c.rect(204, 32, 218, 40, colour("#ffe9a0"))
    c.polygon([(202, 32), (220, 32), (211, 24)], colour("#c8412f"))
    # A sailing boat.
    c.polygon([(40, 112), (96, 112), (88, 122), (48, 122)], colour("#7a4b2a"))
    c.line(68, 112, 68, 62, 1.6, colour("#5a3a22"))
    c.polygon([(70, 64), (70, 108), (98, 108)], colour("#ffffff"))
    c.polygon([(66, 70), (66, 108), (44, 108)], colour("#f0e6d2"))
    return width, height, c.reduce()


def draw_field():
    width, height = 240, 150
    c = Canvas(width, height)
    c.vertical_gradient((140, 190, 235), (230, 240, 250))
    c.ellipse(50, 34, 20, 9, colour("#ffffff", 0.9))
    c.ellipse(66, 30, 16, 10, colour("#ffffff", 0.9))
    c.polygon([(0, 88), (80, 70), (170, 84), (240, 72), (240, 150), (0, 150)], colour("#d9b45a"))
    c.polygon([(0, 112), (120, 98), (240, 110), (240, 150), (0, 150)], colour("#c79a3c"))
    for i in range(9):
        x = 14 + i * 26
        draw_wheat(c, x, 148, 34 + (i * 7) % 12, colour("#f2c35b"), colour("#b8892e"))
    return width, height, c.reduce()


def draw_logo():
    width, height = 64, 64
    c = Canvas(width, height)
    c.ellipse(32, 32, 30, 30, colour("#1f4f86"))
    c.ellipse(32, 32, 26, 26, colour("#dcebf8"))
    c.polygon([(6, 44), (58, 44), (54, 52), (10, 52)], colour("#2c6e9e"))
    c.polygon([(26, 44), (38, 44), (35, 18), (29, 18)], colour("#ffffff"))
    c.polygon([(27.6, 30), (36.4, 30), (36.9, 35), (27.1, 35)], colour("#c8412f"))
    c.rect(28, 13, 36, 18, colour("#ffd45a"))
    c.polygon([(27, 13), (37, 13), (32, 8)], colour("#c8412f"))
    for angle in (-0.35, 0.35):
        c.line(38 + 2, 15.5, 38 + 18 * math.cos(angle), 15.5 + 18 * math.sin(angle), 1.2,
               colour("#ffd45a", 0.8))
    return width, height, c.reduce()


def draw_background():
    """A pale blue-grey tile with a faint diagonal weave."""
    size = 32
    pixels = []
    for y in range(size):
        for x in range(size):
            shade = 4 if (x + y) % 8 == 0 or (x - y) % 8 == 0 else 0
            pixels.append((244 - shade, 247 - shade, 250 - shade))
    return size, size, pixels


PICTURES = {
    "harbour.gif": draw_harbour,
    "field.gif": draw_field,
    "logo.gif": draw_logo,
    "paper.gif": draw_background,
}


if __name__ == "__main__":
    sys.exit(write_pictures(sys.argv, PICTURES, ("resources", "sample-site", "images")))
