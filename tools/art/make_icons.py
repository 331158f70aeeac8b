#!/usr/bin/env python3
"""Draws the project's icons and writes them as Windows .ico files.

  assets/setup.ico         the installer's own icon: 48, 32, 16 px at 8 and 32 bpp
  assets/default-icon.ico  the icon given to an installed program when the agent
                           brands none: 48, 32, 24, 16 px at 32 bpp (17,542 bytes)
  assets/agent-sample.ico  a sample agent icon for the demo and the tests (67,118 bytes)

Standard library only; the output is deterministic, so a test can check that the
committed files are what this script makes.
"""
import math
import os
import struct
import sys

SUPERSAMPLE = 4


def rounded_square(u, v, r=0.2, inset=0.04):
    """True when (u, v) in [0,1]^2 lies inside a rounded square."""
    lo, hi = inset, 1 - inset
    if u < lo or u > hi or v < lo or v > hi:
        return False
    cx = min(max(u, lo + r), hi - r)
    cy = min(max(v, lo + r), hi - r)
    return (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def in_polygon(u, v, pts):
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > v) != (yj > v) and u < (xj - xi) * (v - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def setup_art(u, v):
    """Blue tile with a white arrow dropping into a tray: an installer."""
    if not rounded_square(u, v):
        return None
    arrow = [(0.42, 0.16), (0.58, 0.16), (0.58, 0.44), (0.72, 0.44), (0.5, 0.66),
             (0.28, 0.44), (0.42, 0.44)]
    tray = [(0.2, 0.6), (0.28, 0.6), (0.28, 0.74), (0.72, 0.74), (0.72, 0.6), (0.8, 0.6),
            (0.8, 0.84), (0.2, 0.84)]
    if in_polygon(u, v, arrow) or in_polygon(u, v, tray):
        return (255, 255, 255)
    shade = v * 40
    return (0, int(150 - shade), int(255 - shade * 0.8))


def default_art(u, v):
    """Green tile with a white application window glyph."""
    if not rounded_square(u, v, r=0.18):
        return None
    outer = 0.22 <= u <= 0.78 and 0.24 <= v <= 0.76
    inner = 0.28 <= u <= 0.72 and 0.38 <= v <= 0.70
    if outer and not inner:
        return (255, 255, 255)
    if inner and 0.34 <= u <= 0.66 and 0.46 <= v <= 0.50:
        return (200, 240, 220)
    shade = v * 30
    return (int(30 + shade * 0.3), int(170 - shade), int(110 - shade * 0.5))


def star(cx, cy, r_out, r_in, points=5):
    pts = []
    for k in range(points * 2):
        r = r_out if k % 2 == 0 else r_in
        a = -math.pi / 2 + k * math.pi / points
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


STAR = star(0.5, 0.53, 0.34, 0.14)


def agent_art(u, v):
    """Orange disc with a white star: the sample agent's mark."""
    if (u - 0.5) ** 2 + (v - 0.5) ** 2 > 0.46 ** 2:
        return None
    if in_polygon(u, v, STAR):
        return (255, 255, 255)
    return (255, int(150 - v * 50), 0)


def render(art, n):
    """Returns n*n RGBA tuples, top row first, with supersampled coverage."""
    pixels = []
    s = SUPERSAMPLE
    for y in range(n):
        for x in range(n):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(s):
                for sx in range(s):
                    c = art((x + (sx + 0.5) / s) / n, (y + (sy + 0.5) / s) / n)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            if hits == 0:
                pixels.append((0, 0, 0, 0))
            else:
                rgb = tuple(int(round(a / hits)) for a in acc)
                pixels.append(rgb + (int(round(255 * hits / (s * s))),))
    return pixels


def mask_bytes(n, pixels):
    row = ((n + 31) // 32) * 4
    out = bytearray()
    for y in reversed(range(n)):
        bits = bytearray(row)
        for x in range(n):
            if pixels[y * n + x][3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def palette():
    """6x6x6 colour cube, then a grey ramp, then black: 256 entries."""
    cols = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    cols += [(int(i * 255 / 39),) * 3 for i in range(40)]
    return cols[:256]


def nearest(pal, rgb, cache):
    if rgb not in cache:
        cache[rgb] = min(range(len(pal)), key=lambda i: sum((pal[i][k] - rgb[k]) ** 2 for k in range(3)))
    return cache[rgb]


def dib(n, bpp, pixels):
    """BITMAPINFOHEADER form: header, palette, XOR bitmap bottom-up, AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, bpp, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    if bpp == 32:
        for y in reversed(range(n)):
            for x in range(n):
                r, g, b, a = pixels[y * n + x]
                body += bytes((b, g, r, a))
        pal_bytes = b''
    else:
        pal = palette() if bpp == 8 else [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
                                         (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
                                         (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
                                         (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
        pal_bytes = b''.join(bytes((b, g, r, 0)) for r, g, b in pal)
        cache = {}
        per_byte = 8 // bpp
        row = ((n * bpp + 31) // 32) * 4
        for y in reversed(range(n)):
            line = bytearray(row)
            for x in range(n):
                r, g, b, a = pixels[y * n + x]
                idx = nearest(pal, (r, g, b), cache) if a >= 128 else 0
                shift = (per_byte - 1 - x % per_byte) * bpp
                line[x // per_byte] |= idx << shift
            body += line
    return header + pal_bytes + bytes(body) + mask_bytes(n, pixels)


def ico(art, specs):
    images = [(n, bpp, dib(n, bpp, render(art, n))) for n, bpp in specs]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for n, bpp, data in images:
        colors = 16 if bpp == 4 else 0
        out += struct.pack('<BBBBHHII', n % 256, n % 256, colors, 0, 1, bpp, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return bytes(out)


ICONS = {
    'setup.ico': (setup_art, [(48, 8), (32, 8), (16, 8), (48, 32), (32, 32), (16, 32)]),
    'default-icon.ico': (default_art, [(48, 32), (32, 32), (24, 32), (16, 32)]),
    'agent-sample.ico': (agent_art, [(96, 32), (48, 32), (32, 32), (96, 8), (24, 8), (16, 8),
                                     (24, 4)]),
}


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', '..', 'assets')
    os.makedirs(out_dir, exist_ok=True)
    for name, (art, specs) in ICONS.items():
        data = ico(art, specs)
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(data)
        print(f'{name}: {len(data)} bytes')


if __name__ == '__main__':
    main()
