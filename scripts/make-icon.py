#!/usr/bin/env python3
"""Draws the program icon (a calendar page) at 16, 32 and 48 pixels and writes res/vestrel.ico.

Run once when the drawing changes; the .ico is committed. Pure Python, no imaging library."""
import os
import struct

RED = (200, 40, 40, 255)
DARK_RED = (140, 20, 20, 255)
WHITE = (250, 250, 245, 255)
GRID = (120, 120, 120, 255)
RING = (70, 70, 70, 255)
GOLD = (255, 200, 0, 255)
CLEAR = (0, 0, 0, 0)


def draw(n):
    """Pixels (top row first) of an n x n calendar page."""
    px = [[CLEAR] * n for _ in range(n)]
    m = max(1, n // 16)            # margin
    top = max(2, n // 8)           # where the page starts (rings stick out above)
    band = top + max(3, n // 4)    # bottom of the red header band

    def rect(x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(n, y1)):
            for x in range(max(0, x0), min(n, x1)):
                px[y][x] = c

    rect(m, top, n - m, n - m, DARK_RED)                  # outline
    rect(m + 1, top + 1, n - m - 1, n - m - 1, WHITE)     # page
    rect(m + 1, top + 1, n - m - 1, band, RED)            # header band
    ring_w = max(1, n // 16)
    for rx in (n // 3, 2 * n // 3):                       # binding rings
        rect(rx - ring_w // 2, top - max(1, n // 16) - 1, rx - ring_w // 2 + ring_w, top + max(2, n // 8), RING)
    # a 4 x 3 grid of days, one of them marked
    cols, rows = 4, 3
    x0, x1 = m + 2 + n // 16, n - m - 2 - n // 16
    y0, y1 = band + 1 + n // 32, n - m - 2
    cell_w = (x1 - x0) / cols
    cell_h = (y1 - y0) / rows
    dot = max(1, n // 10)
    for r in range(rows):
        for c in range(cols):
            cx = int(x0 + (c + 0.5) * cell_w)
            cy = int(y0 + (r + 0.5) * cell_h)
            color = GOLD if (r, c) == (1, 2) else GRID
            size = dot + (1 if (r, c) == (1, 2) and n >= 32 else 0)
            rect(cx - size // 2, cy - size // 2, cx - size // 2 + size, cy - size // 2 + size, color)
    return px


def dib(n):
    px = draw(n)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(px) for (r, g, b, a) in row)
    stride = ((n + 31) // 32) * 4
    and_mask = b""
    for row in reversed(px):
        bits = 0
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        and_mask += bytes(line)
    return header + xor + and_mask


def main():
    sizes = (16, 32, 48)
    images = [dib(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(__file__), "..", "res", "vestrel.ico")
    with open(path, "wb") as f:
        f.write(out)
    print(f"wrote {os.path.normpath(path)}: {len(out)} bytes")


if __name__ == "__main__":
    main()
