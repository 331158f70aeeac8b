#!/usr/bin/env python3
"""Draws the glyphs of the wizard's own close and minimise buttons as PNG files.

  assets/caption-close-light.png     11 x 11  close, normal state
  assets/caption-close-dark.png      11 x 11  close, hover / pressed / disabled
  assets/caption-minimise-light.png  12 x 13  minimise, normal state
  assets/caption-minimise-dark.png   12 x 13  minimise, hover / pressed / disabled

The glyphs are drawn pixel by pixel in one colour at opacity 189, with lighter
edge pixels that soften them against the window's green:

  close     the two diagonals at 189, the centre pixel at 255; left and right of
            every diagonal pixel an edge pixel at 90 to 94 (more opaque towards
            the ends), tinted towards the green; the four pixels touching the
            centre's sides at 153
  minimise  row 6: columns 1 to 10 at 189, the end columns 0 and 11 at 163

Every other pixel is fully transparent (0, 0, 0, 0). The files are 8-bit RGBA,
non-interlaced, with no ancillary chunks; the image data is stored without
compression (zlib level 0), so the bytes do not depend on the zlib build and a
test can check that the committed files are what this script makes.
"""
import os
import struct
import sys
import zlib

CLOSE_SIZE = (11, 11)
MINIMISE_SIZE = (12, 13)

# Colours per variant: glyph, close edge pixels at the centre and at the ends
# of the diagonals, pixels touching the close centre, minimise end pixels.
VARIANTS = {
    'light': {
        'glyph': (0xFF, 0xFF, 0xFF),
        'edge_inner': (0x9C, 0xD8, 0xB3),
        'edge_outer': (0x9F, 0xD9, 0xB6),
        'centre_side': (0xDA, 0xEB, 0xE1),
        'line_end': (0xE5, 0xF9, 0xED),
    },
    'dark': {
        'glyph': (0x52, 0x52, 0x52),
        'edge_inner': (0x32, 0x45, 0x3A),
        'edge_outer': (0x33, 0x46, 0x3B),
        'centre_side': (0x46, 0x4C, 0x48),
        'line_end': (0x4A, 0x50, 0x4C),
    },
}

GLYPH_ALPHA = 189
CENTRE_ALPHA = 255
CENTRE_SIDE_ALPHA = 153
EDGE_ALPHA_INNER = 90  # rows next to the centre row
LINE_END_ALPHA = 163


def lerp(a, b, t, steps):
    """a + (b - a) * t / steps, rounded half up, for integers."""
    return a + ((b - a) * t * 2 + steps) // (2 * steps)


def close_glyph(colours):
    w, h = CLOSE_SIZE
    c = w // 2
    px = [[(0, 0, 0, 0)] * w for _ in range(h)]
    diagonal = set()
    for y in range(h):
        diagonal.add((y, y))
        diagonal.add((w - 1 - y, y))
    centre_sides = {(c - 1, c), (c + 1, c), (c, c - 1), (c, c + 1)}
    # Edge pixels: left and right of each diagonal pixel, where that is not the
    # glyph itself and not one of the pixels touching the centre.
    for (x, y) in sorted(diagonal, key=lambda p: (p[1], p[0])):
        t = abs(y - c) - 1  # 0 next to the centre row, 4 at the glyph's ends
        for nx in (x - 1, x + 1):
            if 0 <= nx < w and (nx, y) not in diagonal and (nx, y) not in centre_sides:
                rgb = tuple(lerp(a, b, t, c - 1)
                            for a, b in zip(colours['edge_inner'], colours['edge_outer']))
                px[y][nx] = rgb + (EDGE_ALPHA_INNER + t,)
    for (x, y) in centre_sides:
        px[y][x] = colours['centre_side'] + (CENTRE_SIDE_ALPHA,)
    for (x, y) in diagonal:
        px[y][x] = colours['glyph'] + (GLYPH_ALPHA,)
    px[c][c] = colours['glyph'] + (CENTRE_ALPHA,)
    return px


def minimise_glyph(colours):
    w, h = MINIMISE_SIZE
    px = [[(0, 0, 0, 0)] * w for _ in range(h)]
    row = 6
    for x in range(1, w - 1):
        px[row][x] = colours['glyph'] + (GLYPH_ALPHA,)
    px[row][0] = colours['line_end'] + (LINE_END_ALPHA,)
    px[row][w - 1] = colours['line_end'] + (LINE_END_ALPHA,)
    return px


def chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)


def png(pixels):
    h = len(pixels)
    w = len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # filter type None
        for rgba in row:
            raw += bytes(rgba)
    ihdr = struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)  # 8-bit RGBA, not interlaced
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 0)) + chunk(b'IEND', b''))


IMAGES = {
    'caption-close-light.png': (close_glyph, 'light'),
    'caption-close-dark.png': (close_glyph, 'dark'),
    'caption-minimise-light.png': (minimise_glyph, 'light'),
    'caption-minimise-dark.png': (minimise_glyph, 'dark'),
}


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', '..', 'assets')
    os.makedirs(out_dir, exist_ok=True)
    for name, (glyph, variant) in IMAGES.items():
        data = png(glyph(VARIANTS[variant]))
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(data)
        print(f'{name}: {len(data)} bytes')


if __name__ == '__main__':
    main()
