#!/usr/bin/env python3
"""Draws the images that generated pages show and writes them as GIF files.

    tools/make_images.py [OUTPUT_FOLDER] [--preview FOLDER]

OUTPUT_FOLDER defaults to resources/images beside this script's folder. With --preview every image
is also written as a PNG, for looking at it in any viewer. Only the standard library is used: the
pictures are drawn at four times their size with simple shapes, averaged down for smooth edges,
reduced to a palette and written by the small GIF encoder below.
"""

import math
import os
import random
import struct
import sys
import zlib

SAMPLES = 4  # sub-pixels per pixel along each axis


# ----------------------------------------------------------------------------------------------
# Drawing on a sub-pixel canvas


class Canvas:
    """An RGBA picture drawn at SAMPLES times its final size. Shapes are given in final pixels."""

    def __init__(self, width, height, background=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.w, self.h = width * SAMPLES, height * SAMPLES
        self.pixels = [list(background) for _ in range(self.w * self.h)]

    def _paint(self, box, inside, colour):
        """Blends `colour` over every sub-pixel within box (x0, y0, x1, y1) where inside(x, y)."""
        x0, y0, x1, y1 = box
        r, g, b, a = colour
        for sy in range(max(0, int(y0 * SAMPLES) - 1), min(self.h, int(y1 * SAMPLES) + 2)):
            y = (sy + 0.5) / SAMPLES
            for sx in range(max(0, int(x0 * SAMPLES) - 1), min(self.w, int(x1 * SAMPLES) + 2)):
                x = (sx + 0.5) / SAMPLES
                if not inside(x, y):
                    continue
                p = self.pixels[sy * self.w + sx]
                keep = 1.0 - a
                p[0] = r * a + p[0] * keep
                p[1] = g * a + p[1] * keep
                p[2] = b * a + p[2] * keep
                p[3] = a + p[3] * keep

    def rect(self, x0, y0, x1, y1, colour):
        self._paint((x0, y0, x1, y1), lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour)

    def rounded_rect(self, x0, y0, x1, y1, radius, colour):
        def inside(x, y):
            dx = max(x0 + radius - x, 0.0, x - (x1 - radius))
            dy = max(y0 + radius - y, 0.0, y - (y1 - radius))
            return x0 <= x < x1 and y0 <= y < y1 and dx * dx + dy * dy <= radius * radius

        self._paint((x0, y0, x1, y1), inside, colour)

    def ellipse(self, cx, cy, rx, ry, colour, angle=0.0):
        c, s = math.cos(angle), math.sin(angle)
        reach = max(rx, ry)

        def inside(x, y):
            dx, dy = x - cx, y - cy
            u, v = dx * c + dy * s, -dx * s + dy * c
            return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0

        self._paint((cx - reach, cy - reach, cx + reach, cy + reach), inside, colour)

    def ring(self, cx, cy, radius, width, colour):
        outer, inner = radius + width / 2, radius - width / 2

        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            return inner <= d <= outer

        self._paint((cx - outer, cy - outer, cx + outer, cy + outer), inside, colour)

    def polygon(self, points, colour):
        xs, ys = [p[0] for p in points], [p[1] for p in points]

        def inside(x, y):
            hit = False
            j = len(points) - 1
            for i, (xi, yi) in enumerate(points):
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit

        self._paint((min(xs), min(ys), max(xs), max(ys)), inside, colour)

    def polyline(self, points, width, colour):
        """A stroke with round caps and joins through the points, painted once per sub-pixel."""
        half = width / 2
        segments = list(zip(points, points[1:])) or [(points[0], points[0])]
        xs, ys = [p[0] for p in points], [p[1] for p in points]

        def near(x, y):
            for (ax, ay), (bx, by) in segments:
                dx, dy = bx - ax, by - ay
                length = dx * dx + dy * dy
                t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
                if math.hypot(x - ax - t * dx, y - ay - t * dy) <= half:
                    return True
            return False

        self._paint((min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half), near, colour)

    def line(self, x0, y0, x1, y1, width, colour):
        self.polyline([(x0, y0), (x1, y1)], width, colour)

    def vertical_gradient(self, top, bottom):
        for sy in range(self.h):
            t = sy / (self.h - 1)
            colour = [top[i] + (bottom[i] - top[i]) * t for i in range(3)] + [1.0]
            for sx in range(self.w):
                self.pixels[sy * self.w + sx] = list(colour)

    def reduce_rgba(self):
        """Averages the sub-pixels into (r, g, b, a) per pixel, keeping partial transparency."""
        out = []
        n = SAMPLES * SAMPLES
        for y in range(self.height):
            for x in range(self.width):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(y * SAMPLES, (y + 1) * SAMPLES):
                    row = sy * self.w
                    for sx in range(x * SAMPLES, (x + 1) * SAMPLES):
                        p = self.pixels[row + sx]
                        for i in range(3):
                            acc[i] += p[i] * p[3]
                        acc[3] += p[3]
                if acc[3] == 0:
                    out.append((0, 0, 0, 0))
                    continue
                rgb = tuple(int(round(acc[i] / acc[3])) for i in range(3))
                out.append((*rgb, int(round(acc[3] / n * 255))))
        return out

    def reduce(self, matte=(255, 255, 255), alpha_cut=0.4):
        """Averages the sub-pixels: a list of (r, g, b) or None (transparent) per pixel. Edge
        pixels are blended with `matte`, the colour the picture will mostly stand on."""
        out = []
        n = SAMPLES * SAMPLES
        for y in range(self.height):
            for x in range(self.width):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(y * SAMPLES, (y + 1) * SAMPLES):
                    row = sy * self.w
                    for sx in range(x * SAMPLES, (x + 1) * SAMPLES):
                        p = self.pixels[row + sx]
                        acc[0] += p[0] * p[3]
                        acc[1] += p[1] * p[3]
                        acc[2] += p[2] * p[3]
                        acc[3] += p[3]
                alpha = acc[3] / n
                if alpha < alpha_cut:
                    out.append(None)
                    continue
                out.append(tuple(int(round(acc[i] / n + matte[i] * (1 - alpha))) for i in range(3)))
        return out


def colour(hex_text, alpha=1.0):
    value = int(hex_text.lstrip("#"), 16)
    return (value >> 16, (value >> 8) & 255, value & 255, alpha)


# ----------------------------------------------------------------------------------------------
# A small stroke font for the banner's words. Glyphs are polylines in units: baseline y = 0,
# x-height 5, ascenders 8.5, descenders -3, y pointing up.


def arc(cx, cy, rx, ry, start, end, steps=14):
    return [(cx + rx * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * i / steps)))
            for i in range(steps + 1)]


BOWL = arc(2.5, 2.5, 2.5, 2.5, 0, 360, 24)
ARCH = arc(2.25, 2.75, 2.25, 2.25, 180, 0)

GLYPHS = {
    # letter: (advance, [polylines])
    "G": (7.4, [arc(3.6, 4.25, 3.6, 4.25, 40, 330, 24) + [(7.1, 3.6), (4.4, 3.6)]]),
    "L": (5.2, [[(0, 8.5), (0, 0), (5, 0)]]),
    "l": (0.1, [[(0, 0), (0, 8.5)]]),
    "i": (0.1, [[(0, 0), (0, 5)], [(0, 7.2)]]),
    "e": (5.0, [[(0.05, 2.5), (5, 2.5)] + arc(2.5, 2.5, 2.5, 2.5, 0, 315, 20)]),
    "a": (5.0, [BOWL, [(5, 5), (5, 0)]]),
    "d": (5.0, [BOWL, [(5, 8.5), (5, 0)]]),
    "b": (5.0, [BOWL, [(0, 8.5), (0, 0)]]),
    "o": (5.0, [BOWL]),
    "g": (5.0, [BOWL, [(5, 5), (5, -0.8)] + arc(2.5, -0.8, 2.5, 2.2, 0, -160)]),
    "n": (4.5, [[(0, 0), (0, 5)], ARCH + [(4.5, 0)]]),
    "h": (4.5, [[(0, 0), (0, 8.5)], ARCH + [(4.5, 0)]]),
    "r": (3.2, [[(0, 0), (0, 5)], arc(2.6, 2.4, 2.6, 2.6, 180, 75)]),
    "t": (3.0, [[(1.1, 7.5), (1.1, 1.2)] + arc(2.6, 1.2, 1.5, 1.2, 180, 290), [(0, 5), (3, 5)]]),
    "f": (3.2, [[(1.1, 0), (1.1, 6.6)] + arc(2.7, 6.6, 1.6, 1.6, 180, 40), [(0, 5), (3.2, 5)]]),
    "s": (4.2, [arc(2.1, 3.75, 2.0, 1.25, 15, 270, 12) + arc(2.1, 1.25, 2.0, 1.25, 90, -165, 12)]),
    "w": (6.0, [[(0, 5), (1.4, 0), (3, 4.2), (4.6, 0), (6, 5)]]),
    "-": (3.0, [[(0.2, 3), (2.8, 3)]]),
    " ": (1.6, []),
}


def text_width(text, spacing):
    return sum(GLYPHS[c][0] for c in text) + spacing * (len(text) - 1)


def draw_text(canvas, text, x, baseline, scale, pen, ink, spacing=1.5):
    """Draws `text` with its left edge at x (pixels), baseline at `baseline`, `scale` pixels per
    unit and a pen `pen` units wide."""
    for ch in text:
        advance, strokes = GLYPHS[ch]
        for stroke in strokes:
            points = [(x + px * scale, baseline - py * scale) for px, py in stroke]
            canvas.polyline(points, pen * scale, ink)
        x += (advance + spacing) * scale
    return x


# ----------------------------------------------------------------------------------------------
# The pictures


def draw_wheat(canvas, x, y, height, grain, stalk):
    """An ear of wheat leaning slightly right, its foot at (x, y): the gleaner's emblem."""
    lean = 0.15
    top = (x + lean * height, y - height)
    canvas.line(x, y, top[0], top[1] + height * 0.15, height * 0.06, stalk)
    for i in range(5):
        t = 0.36 + i * 0.13
        cx, cy = x + lean * height * t, y - height * t
        size = height * (0.1 - i * 0.008)
        canvas.ellipse(cx - size * 0.85, cy - size * 0.2, size, size * 0.5, grain, angle=-1.0)
        canvas.ellipse(cx + size * 0.85, cy - size * 0.2, size, size * 0.5, grain, angle=1.0 + lean)
    canvas.ellipse(top[0] - 0.5, top[1] + height * 0.08, height * 0.06, height * 0.11, grain,
                   angle=lean)


def draw_back():
    """A light paper tile: warm off-white with a faint even grain, seamless when repeated."""
    size = 64
    rng = random.Random(1997)
    pixels = []
    for _ in range(size * size):
        shade = rng.choice((0, 0, 0, 2, 4, 6))
        pixels.append((250 - shade, 248 - shade, 240 - shade))
    return size, size, pixels


def draw_briefbar():
    c = Canvas(460, 43)
    c.vertical_gradient((34, 72, 128), (18, 44, 88))
    c.rect(0, 39, 460, 43, colour("#d9a441"))
    draw_wheat(c, 18, 37, 32, colour("#f2c35b"), colour("#e0b050"))
    end = draw_text(c, "Gleaner-Light", 46, 29, 2.45, 1.25, colour("#ffffff"))
    draw_text(c, "offline web digests", end + 16, 29, 1.25, 1.15, colour("#cfe0f5"), spacing=1.4)
    return 460, 43, c.reduce()


def draw_brief_icon():
    """A page with a folded corner and a few lines of text."""
    c = Canvas(24, 24)
    outline, paper = colour("#4a5a70"), colour("#ffffff")
    page = [(5, 2.5), (15, 2.5), (19.5, 7), (19.5, 21.5), (5, 21.5)]
    c.polygon(page, outline)
    c.polygon([(6.2, 3.7), (14.5, 3.7), (18.3, 7.5), (18.3, 20.3), (6.2, 20.3)], paper)
    c.polygon([(14.3, 2.8), (14.3, 7.7), (19.2, 7.7)], colour("#c8d3e2"))
    c.polyline([(14.3, 2.8), (14.3, 7.7), (19.2, 7.7)], 1.1, outline)
    c.line(8, 6, 12, 6, 1.3, colour("#2f6fc0"))
    for i, right in enumerate((16.5, 16.5, 14.0, 16.5)):
        y = 9.5 + i * 2.8
        c.line(8, y, right, y, 1.1, colour("#59606b"))
    return 24, 24, c.reduce()


def draw_toc_icon():
    """A small tree: a root and indented branches, each with a coloured node and a text line."""
    c = Canvas(24, 24)
    line, node = colour("#59606b"), colour("#2f6fc0")
    c.polyline([(5, 5), (5, 19), (9, 19)], 1.1, line)
    c.line(5, 12, 9, 12, 1.1, line)
    c.polyline([(12, 12), (12, 16), (14, 16)], 1.0, line)
    c.rect(2.5, 2.5, 7.5, 7.5, colour("#d9a441"))
    for x, y, right in ((10, 12, 21.5), (14.8, 16, 21.5), (10, 19, 19.0)):
        c.rect(x - 1.6, y - 1.6, x + 1.6, y + 1.6, node)
    c.line(10, 5, 21.5, 5, 1.5, colour("#333a45"))
    for x, y, right in ((13.5, 12, 21.5), (18, 16, 21.5), (13.5, 19.3, 19.0)):
        c.line(x, y, right, y, 1.2, line)
    return 24, 24, c.reduce()


def draw_orig_icon():
    """A globe: a blue sphere with lighter parallels and meridians."""
    c = Canvas(24, 24)
    c.ellipse(12, 12, 9.6, 9.6, colour("#1f5fa8"))
    c.ellipse(10.5, 10, 7.5, 7.5, colour("#3f86d3", 0.55))
    grid = colour("#d6e8fb", 0.9)
    c.ring(12, 12, 9, 1.0, grid)
    c.line(3, 12, 21, 12, 0.9, grid)
    c.line(12, 3, 12, 21, 0.9, grid)
    for dy in (-5.2, 5.2):
        half = math.sqrt(81 - dy * dy)
        c.line(12 - half, 12 + dy, 12 + half, 12 + dy, 0.8, grid)
    meridian = arc(12, 12, 4.4, 9, 90, 270, 16)
    c.polyline(meridian, 0.8, grid)
    c.polyline([(24 - x, y) for x, y in meridian], 0.8, grid)
    return 24, 24, c.reduce()


def draw_full_icon():
    """A frame with four arrow heads pointing out of its corners: show the whole page."""
    c = Canvas(24, 24)
    frame, arrow = colour("#4a5a70"), colour("#2f6fc0")
    c.rect(7, 7, 17, 17, frame)
    c.rect(8.3, 8.3, 15.7, 15.7, colour("#ffffff"))
    c.rect(8.3, 8.3, 15.7, 10.3, colour("#c8d3e2"))
    for sx, sy in ((-1, -1), (1, -1), (-1, 1), (1, 1)):
        tip = (12 + sx * 10, 12 + sy * 10)
        c.line(12 + sx * 5.5, 12 + sy * 5.5, tip[0] - sx * 1.5, tip[1] - sy * 1.5, 1.6, arrow)
        c.polygon([tip, (tip[0] - sx * 6, tip[1]), (tip[0], tip[1] - sy * 6)], arrow)
    return 24, 24, c.reduce()


IMAGES = {
    "back.gif": draw_back,
    "briefbar.gif": draw_briefbar,
    "brief.gif": draw_brief_icon,
    "toc.gif": draw_toc_icon,
    "orig.gif": draw_orig_icon,
    "full.gif": draw_full_icon,
}


# ----------------------------------------------------------------------------------------------
# Palette and encoders


def build_palette(pixels):
    """Indices into a palette of at most 256 entries; the last entry is transparency when the
    picture has transparent pixels. Colours are coarsened until they fit."""
    transparent = any(p is None for p in pixels)
    room = 255 if transparent else 256
    step = 1
    while True:
        def snap(p):
            return tuple(min(255, (v + step // 2) // step * step) for v in p)

        snapped = [None if p is None else snap(p) for p in pixels]
        colours = sorted({p for p in snapped if p is not None})
        if len(colours) <= room:
            break
        step += 1
    palette = list(colours)
    key = None
    if transparent:
        key = len(palette)
        palette.append((255, 255, 255))
    lookup = {p: i for i, p in enumerate(colours)}
    indices = [key if p is None else lookup[p] for p in snapped]
    return palette, indices, key


def lzw_compress(indices, min_code_size):
    """GIF's variable-width LZW: codes written least significant bit first."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out, bits, nbits = bytearray(), 0, 0
    code_size = min_code_size + 1

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += code_size
        while nbits >= 8:
            out.append(bits & 255)
            bits >>= 8
            nbits -= 8

    table = {(i,): i for i in range(clear)}
    next_code = end + 1
    emit(clear)
    current = ()
    for index in indices:
        grown = current + (index,)
        if grown in table:
            current = grown
            continue
        emit(table[current])
        if next_code < 4096:
            table[grown] = next_code
            next_code += 1
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear)
            table = {(i,): i for i in range(clear)}
            next_code = end + 1
            code_size = min_code_size + 1
        current = (index,)
    if current:
        emit(table[current])
    emit(end)
    if nbits:
        out.append(bits & 255)
    return bytes(out)


def encode_gif(width, height, pixels):
    palette, indices, key = build_palette(pixels)
    depth = max(1, (len(palette) - 1).bit_length())
    palette += [(0, 0, 0)] * ((1 << depth) - len(palette))
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0x80 | ((depth - 1) << 4) | (depth - 1), 0, 0)
    for rgb in palette:
        data += bytes(rgb)
    if key is not None:
        data += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 1, 0, key, 0)
    data += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
    min_code_size = max(2, depth)
    data.append(min_code_size)
    stream = lzw_compress(indices, min_code_size)
    for start in range(0, len(stream), 255):
        chunk = stream[start:start + 255]
        data.append(len(chunk))
        data += chunk
    data += b"\x00\x3B"
    return bytes(data)


def encode_png(width, height, pixels):
    """An RGBA PNG of pixels given as (r, g, b), (r, g, b, a) or None (transparent)."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for p in pixels[y * width:(y + 1) * width]:
            raw += bytes((255, 255, 255, 0) if p is None else p if len(p) == 4 else (*p, 255))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def write_pictures(argv, pictures, default_folder):
    """Writes each picture as a GIF into the folder given (or the default one), and as a PNG
    into the folder after --preview when one is given."""
    args = list(argv[1:])
    preview = None
    if "--preview" in args:
        at = args.index("--preview")
        preview = args[at + 1]
        del args[at:at + 2]
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = args[0] if args else os.path.join(root, *default_folder)
    os.makedirs(folder, exist_ok=True)
    if preview:
        os.makedirs(preview, exist_ok=True)
    for name, draw in pictures.items():
        width, height, pixels = draw()
        with open(os.path.join(folder, name), "wb") as out:
            out.write(encode_gif(width, height, pixels))
        if preview:
            with open(os.path.join(preview, name[:-4] + ".png"), "wb") as out:
                out.write(encode_png(width, height, pixels))
    return 0


if __name__ == "__main__":
    sys.exit(write_pictures(sys.argv, IMAGES, ("resources", "images")))
