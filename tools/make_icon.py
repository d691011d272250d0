#!/usr/bin/env python3
"""Draws the program icon (a green gauge beside a memory chip) as res/lumivex.ico in 16, 32 and 48 pixels."""
import struct
import sys


def pixel(x, y, n):
    s = n / 16.0
    gx0, gx1 = int(1 * s), int(5 * s)          # gauge column
    level = int(6 * s)                          # filled from here down
    if gx0 <= x < gx1 and int(1 * s) <= y < int(15 * s):
        if x in (gx0, gx1 - 1) or y in (int(1 * s), int(15 * s) - 1):
            return (64, 64, 64, 255)
        return (0, 200, 0, 255) if y >= level else (255, 255, 255, 255)
    cx0, cx1, cy0, cy1 = int(7 * s), int(15 * s), int(3 * s), int(13 * s)
    if cx0 <= x < cx1 and cy0 <= y < cy1:
        return (40, 60, 110, 255)
    if cx0 <= x < cx1 and (y == cy0 - 1 or y == cy1) and (x - cx0) % max(2, int(2 * s)) == 0:
        return (160, 160, 160, 255)
    return (0, 0, 0, 0)


def image(n):
    rows = []
    for y in range(n - 1, -1, -1):  # bottom-up
        for x in range(n):
            r, g, b, a = pixel(x, y, n)
            rows.append(struct.pack('BBBB', b, g, r, a))
    xor = b''.join(rows)
    mask_row = ((n + 31) // 32) * 4
    andmask = b'\x00' * (mask_row * n)
    header = struct.pack('<IiiHHIIiiII', 40, n, n * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    return header + xor + andmask


def main(path):
    sizes = [16, 32, 48]
    images = [image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/lumivex.ico')
