#!/usr/bin/env python3
"""Draws the wizard's pictures.

  assets/banner.jpg        987 x 495 banner, stretched over the top 600 x 300 of the wizard
  assets/button-normal.png 260 x 35 overlay of the large buttons, normal state
  assets/button-hot.png    260 x 35 overlay of the large buttons, mouse over

The button pictures are translucent overlays: the button's background colour
shows through them, so the install button turns grey with its background when
the licence is not accepted. The banner is written as a PPM and converted to
JPEG with ImageMagick's `convert` (quality 90).
"""
import math
import os
import struct
import subprocess
import sys
import zlib

W, H = 987, 495


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def banner_pixel(x, y):
    u, v = x / W, y / H
    # Deep blue at the top left to the product's blue at the bottom right.
    base = mix((0, 84, 178), (20, 150, 255), 0.55 * u + 0.45 * v)
    # Soft light waves across the lower half.
    for k, (amp, freq, phase, level, alpha) in enumerate(
            [(0.05, 5.0, 0.3, 0.70, 0.20), (0.06, 3.4, 1.7, 0.78, 0.16), (0.04, 7.1, 2.9, 0.86, 0.12)]):
        edge = level + amp * math.sin(2 * math.pi * freq * u / 3 + phase)
        if v > edge:
            base = mix(base, (255, 255, 255), alpha * min(1.0, (v - edge) * 12))
    # Two large translucent discs on the right.
    for cx, cy, r, alpha in [(0.80, 0.38, 0.30, 0.10), (0.93, 0.15, 0.18, 0.08)]:
        d = math.hypot((u - cx) * W / H, v - cy)
        if d < r:
            base = mix(base, (255, 255, 255), alpha * min(1.0, (r - d) * 40))
    # A download arrow into a tray, the product's mark, centred on the right disc.
    ax, ay = (u - 0.80) * W / H, v - 0.38
    shaft = abs(ax) < 0.035 and -0.17 < ay < 0.02
    head = ay >= 0.0 and ay < 0.10 and abs(ax) < 0.10 - ay
    tray = 0.12 < ay < 0.16 and abs(ax) < 0.16 or (0.05 < ay < 0.16 and 0.12 < abs(ax) < 0.16)
    if shaft or head or tray:
        base = mix(base, (255, 255, 255), 0.85)
    return base


def write_banner(path):
    ppm = path + '.ppm'
    with open(ppm, 'wb') as f:
        f.write(b'P6 %d %d 255\n' % (W, H))
        rows = bytearray()
        for y in range(H):
            for x in range(W):
                rows += bytes(banner_pixel(x, y))
        f.write(rows)
    subprocess.run(['convert', ppm, '-strip', '-quality', '90', '-sampling-factor', '4:2:0',
                    path], check=True)
    os.remove(ppm)


def png(width, height, rgba):
    def chunk(kind, data):
        c = kind + data
        return struct.pack('>I', len(data)) + c + struct.pack('>I', zlib.crc32(c) & 0xFFFFFFFF)
    raw = b''.join(b'\x00' + bytes(rgba[y * width * 4:(y + 1) * width * 4]) for y in range(height))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def button_overlay(hot):
    w, h = 260, 35
    out = bytearray()
    for y in range(h):
        for x in range(w):
            t = y / (h - 1)
            if t < 0.5:  # gloss on the upper half, stronger under the mouse
                alpha = (70 if hot else 46) * (1 - t * 2) + 8
                px = (255, 255, 255, int(alpha))
            else:  # a faint shade towards the bottom edge
                px = (0, 40, 90, int(28 * (t - 0.5) * 2))
            if y == 0:
                px = (255, 255, 255, 90 if hot else 60)
            out += bytes(px)
    return png(w, h, out)


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', '..', 'assets')
    os.makedirs(out_dir, exist_ok=True)
    for name, hot in (('button-normal.png', False), ('button-hot.png', True)):
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(button_overlay(hot))
    if '--no-banner' not in sys.argv:
        write_banner(os.path.join(out_dir, 'banner.jpg'))
    print('wizard art written to', out_dir)


if __name__ == '__main__':
    main()
