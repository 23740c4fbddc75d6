#!/usr/bin/env python3
"""Draws the pictures that lekhopakar.rc embeds.

The outputs are checked in, so a build never runs this; it is here to show how
they were made and to redraw them after a change. Run it from anywhere:

    python3 assets/make_assets.py

The icon and the marker are drawn point by point here. The logo needs real
Devanagari shaping (the vowel signs must sit on the right consonants), so its
lettering comes from ImageMagick's Pango reader with the Lohit Devanagari font
(Debian: imagemagick, fonts-lohit-deva); the outline, colours and the 8-bit
BMP are done here so the file does not depend on ImageMagick's quantiser or
on which BMP header version it prefers to write.
"""

import math
import os
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# The program paints the marker with this colour keyed out; keep it in step
# with LK_TRANSPARENT_KEY_* in resource_ids.h.
KEY = (255, 0, 255)

GREY = (192, 192, 192)
DARK_GREY = (128, 128, 128)
WHITE = (255, 255, 255)
BLUE = (0, 0, 255)
RED = (255, 0, 0)

# The classic 16-colour Windows palette. Using it, rather than a palette made
# for the picture, keeps the icon right on 4-bit displays and in tools that
# assume it.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
TEAL, CYAN, VGA_WHITE = 6, 14, 15


# --- BMP / ICO writers -------------------------------------------------------

def _row_stride(width, bpp):
    return ((width * bpp + 31) // 32) * 4


def _info_header(width, height, bpp, image_size, colours):
    # Plain BITMAPINFOHEADER: LoadImage, windres and every viewer read it.
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bpp, 0,
                       image_size, 2835, 2835, colours, colours)


def _palette_bytes(palette):
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)


def _pack_rows(pixels, width, height, bpp):
    """pixels[y][x] top-down; returns bottom-up rows padded to 32 bits."""
    stride = _row_stride(width, bpp)
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        if bpp == 24:
            for r, g, b in pixels[y]:
                row += bytes((b, g, r))
        elif bpp == 8:
            row += bytes(pixels[y])
        else:
            per_byte = 8 // bpp
            for x0 in range(0, width, per_byte):
                v = 0
                for i in range(per_byte):
                    x = x0 + i
                    v = (v << bpp) | (pixels[y][x] if x < width else 0)
                row.append(v)
        row += bytes(stride - len(row))
        out += row
    return bytes(out)


def write_bmp(path, pixels, palette=None):
    height, width = len(pixels), len(pixels[0])
    bpp = 8 if palette is not None else 24
    bits = _pack_rows(pixels, width, height, bpp)
    pal = _palette_bytes(palette) if palette is not None else b''
    offset = 14 + 40 + len(pal)
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset))
        f.write(_info_header(width, height, bpp,
                             len(bits), len(palette) if palette else 0))
        f.write(pal)
        f.write(bits)


def write_ico(path, images):
    """images: list of (indices[y][x] into VGA16, transparent[y][x])."""
    blobs = []
    for indices, clear in images:
        size = len(indices)
        xor = _pack_rows(indices, size, size, 4)
        and_mask = _pack_rows([[1 if c else 0 for c in row] for row in clear],
                              size, size, 1)
        # An icon's header counts the XOR and AND halves, hence 2 * size.
        header = _info_header(size, 2 * size, 4, len(xor) + len(and_mask), 16)
        blobs.append((size, header + _palette_bytes(VGA16) + xor + and_mask))
    offset = 6 + 16 * len(blobs)
    directory, data = b'', b''
    for size, blob in blobs:
        directory += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4,
                                 len(blob), offset + len(data))
        data += blob
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(blobs)) + directory + data)


# --- icon: a cyan snowflake --------------------------------------------------

def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def _snowflake_segments(cx, cy, arm, branch_at, branch_len):
    segments = []
    for k in range(6):
        a = math.radians(90 + 60 * k)
        ux, uy = math.cos(a), -math.sin(a)
        segments.append((cx, cy, cx + arm * ux, cy + arm * uy))
        bx, by = cx + branch_at * arm * ux, cy + branch_at * arm * uy
        for side in (-60, 60):
            b = a + math.radians(side)
            segments.append((bx, by, bx + branch_len * arm * math.cos(b),
                             by - branch_len * arm * math.sin(b)))
    return segments


def _coverage(size, segments, half_width, samples=8):
    cover = [[0.0] * size for _ in range(size)]
    step = 1.0 / samples
    for y in range(size):
        for x in range(size):
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    px = x + (sx + 0.5) * step
                    py = y + (sy + 0.5) * step
                    if any(_segment_distance(px, py, *s) <= half_width
                           for s in segments):
                        hits += 1
            cover[y][x] = hits / (samples * samples)
    return cover


def snowflake_32():
    """Thin strokes, each arm forked once a little past half way. Centred
    on a pixel so the vertical arm is one crisp column; pixels the strokes
    only graze become teal, which stands in for anti-aliasing."""
    segments = _snowflake_segments(15.5, 15.5, 14.5, 0.55, 0.32)
    cover = _coverage(32, segments, 0.65)
    rows = [''.join('c' if c >= 0.5 else 't' if c >= 0.3 else '.'
                    for c in row) for row in cover]
    rows[15] = rows[15][:15] + 'w' + rows[15][16:]
    return rows


# At 16 pixels sampled strokes turn to mush, so this one is placed by hand.
# One quarter (centre at the bottom left) is mirrored into the other three.
SNOWFLAKE_16_QUARTER = [
    'c.......',
    'c.c.....',
    'cc...c..',
    'c...c...',
    'c..ccc.c',
    'c.cc..c.',
    'cc......',
    'wc......',
]


def snowflake_16():
    q = SNOWFLAKE_16_QUARTER
    c = len(q) - 1
    rows = [['.'] * 16 for _ in range(16)]
    for y, line in enumerate(q):
        for i, ch in enumerate(line):
            for yy in (y, 2 * c - y):
                for xx in (c + i, c - i):
                    rows[yy][xx] = ch
    return [''.join(r) for r in rows]


def _with_shadow(rows):
    """Cyan alone all but vanishes on a white or light grey title bar; a
    teal shadow below and right of every stroke keeps the flake readable
    there without darkening it on dark backgrounds."""
    size = len(rows)
    out = [list(r) for r in rows]
    for y in range(1, size):
        for x in range(1, size):
            if rows[y][x] == '.' and rows[y - 1][x - 1] in 'cw':
                out[y][x] = 't'
    return [''.join(r) for r in out]


def _icon_image(rows):
    colour = {'c': CYAN, 't': TEAL, 'w': VGA_WHITE}
    indices = [[colour.get(ch, 0) for ch in row] for row in rows]
    clear = [[ch == '.' for ch in row] for row in rows]
    return indices, clear


def make_icon(path):
    write_ico(path, [_icon_image(_with_shadow(snowflake_32())),
                     _icon_image(_with_shadow(snowflake_16()))])


# --- marker: a small red arrow pointing right --------------------------------

def make_marker(path):
    width, height = 7, 13
    mid = height // 2
    inside = [[abs(y - mid) <= mid - x for x in range(width)]
              for y in range(height)]

    def edge(x, y):
        return any(not (0 <= x + dx < width and 0 <= y + dy < height
                        and inside[y + dy][x + dx])
                   for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)))

    pixels = []
    for y in range(height):
        row = []
        for x in range(width):
            if not inside[y][x]:
                row.append(KEY)
            elif edge(x, y):
                row.append(DARK_GREY)
            else:
                row.append(RED)
        pixels.append(row)
    write_bmp(path, pixels)


# --- logo: the name in Devanagari --------------------------------------------

LOGO_W, LOGO_H = 89, 30
NAME = '\u0932\u0947\u0916\u094B\u092A\u0915\u093E\u0930'  # लेखोपकार


def _render_name_alpha(point_size):
    """Coverage of the shaped name, trimmed to its ink, as rows of 0..255."""
    markup = ('<span font_family="Lohit Devanagari" weight="bold" '
              f'size="{int(point_size * 1000)}">{NAME}</span>')
    cmd = ['convert', '-background', 'none', '-fill', 'black',
           'pango:' + markup, '-trim', '+repage',
           '-alpha', 'extract', '-depth', '8']
    size = subprocess.run(cmd + ['-format', '%w %h', 'info:'], check=True,
                          capture_output=True, text=True).stdout.split()
    w, h = int(size[0]), int(size[1])
    raw = subprocess.run(cmd + ['gray:-'], check=True,
                         capture_output=True).stdout
    if len(raw) != w * h:
        sys.exit(f'unexpected raster size from convert: {len(raw)} != {w}x{h}')
    return [list(raw[y * w:(y + 1) * w]) for y in range(h)]


def _blend(under, over, a):
    return tuple(round(u + (o - u) * a) for u, o in zip(under, over))


def make_logo(path):
    text = _render_name_alpha(16.5)
    th, tw = len(text), len(text[0])
    # Leave a grey row between the outlined lettering and the rule.
    rule_top, rule_rows = 26, 2
    ox = (LOGO_W - tw) // 2
    oy = max(1, (rule_top - 1 - th) // 2)

    def ink(x, y):
        tx, ty = x - ox, y - oy
        if 0 <= tx < tw and 0 <= ty < th:
            return text[ty][tx] / 255
        return 0.0

    # Quantise coverage so the blends fit comfortably in 256 palette entries.
    def level(a, steps=8):
        return round(a * steps) / steps

    pixels = []
    for y in range(LOGO_H):
        row = []
        for x in range(LOGO_W):
            if rule_top <= y < rule_top + rule_rows and 3 <= x < LOGO_W - 3:
                row.append(RED)
                continue
            # The outline is the ink grown by one pixel in every direction.
            halo = max(ink(x + dx, y + dy) for dx in (-1, 0, 1)
                       for dy in (-1, 0, 1))
            colour = _blend(GREY, WHITE, level(halo))
            row.append(_blend(colour, BLUE, level(ink(x, y))))
        pixels.append(row)

    palette = sorted(set(c for row in pixels for c in row))
    if len(palette) > 256:
        sys.exit(f'logo needs {len(palette)} colours')
    index = {c: i for i, c in enumerate(palette)}
    # A full 256-entry table: some readers of 8-bit BMPs ignore biClrUsed.
    palette += [(0, 0, 0)] * (256 - len(palette))
    write_bmp(path, [[index[c] for c in row] for row in pixels], palette)


def main():
    make_icon(os.path.join(HERE, 'lekhopakar.ico'))
    make_marker(os.path.join(HERE, 'marker.bmp'))
    make_logo(os.path.join(HERE, 'logo.bmp'))


if __name__ == '__main__':
    main()
