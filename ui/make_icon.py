#!/usr/bin/env python3
"""Draws the program's icon (ui/quorvane.ico): two speech bubbles, the left one
blue, the right one orange, overlapping. Run it again only to change the image."""
import struct
import sys

SIZES = (16, 32, 48)
SAMPLES = 4  # per axis, for smooth edges

BLUE = (0x1f, 0x6f, 0xd0)
ORANGE = (0xf0, 0x8a, 0x24)
WHITE = (0xff, 0xff, 0xff)


def bubble(x, y, cx, cy, rx, ry, tail_left):
    """Inside an ellipse with a small triangular tail at the bottom."""
    if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
        return True
    ty = cy + ry * 0.6
    if y < ty or y > ty + ry * 0.55:
        return False
    depth = (y - ty) / (ry * 0.55)
    if tail_left:
        x0 = cx - rx * 0.55
        return x0 - depth * rx * 0.25 <= x <= x0 + rx * 0.45 * (1 - depth)
    x0 = cx + rx * 0.55
    return x0 - rx * 0.45 * (1 - depth) <= x <= x0 + depth * rx * 0.25


def colour_at(x, y):
    """Colour of a point in a unit square (0..1), or None where transparent."""
    if bubble(x, y, 0.62, 0.56, 0.34, 0.28, tail_left=False):
        # three white dots on the front bubble
        for dx in (-0.13, 0.0, 0.13):
            if (x - 0.62 - dx) ** 2 + (y - 0.56) ** 2 <= 0.045 ** 2:
                return WHITE
        return ORANGE
    if bubble(x, y, 0.38, 0.36, 0.34, 0.28, tail_left=True):
        return BLUE
    return None


def render(size):
    """BGRA rows, bottom row first, as an icon's bitmap stores them."""
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            r = g = b = a = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) / size,
                                  (py + (sy + 0.5) / SAMPLES) / size)
                    if c:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            if a:
                row += bytes((b // a, g // a, r // a, a * 255 // SAMPLES ** 2))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(reversed(rows))


def icon_image(size):
    pixels = render(size)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # all opaque; the alpha channel decides
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def main(path):
    images = [icon_image(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "quorvane.ico")
