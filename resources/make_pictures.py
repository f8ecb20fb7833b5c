#!/usr/bin/python3
"""Draws the program's pictures and writes them next to this script.

program.ico     the icon: one 64 x 64 image, 8 bits per pixel with a 256-colour palette and a
                1-bit transparency mask (the window's icon, Image1's picture, the executable's icon)
program-64.png  the same icon as a PNG, for the desktop's hicolor icon theme
program-64.bmp  the same icon as a 32-bit BMP with alpha, for the Linux window (Qt reads BMP
                without loading a plugin or libpng)
picture1.bmp    the bitmap of Picture1: 287 x 349, 24 bits per pixel, uncompressed

Only the standard library is used, so the files can be made again anywhere:
    /usr/bin/python3 resources/make_pictures.py
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


class Canvas:
    """An RGB picture with an opacity per pixel, drawn with a few simple shapes."""

    def __init__(self, width, height, fill=(0, 0, 0), opaque=True):
        self.width = width
        self.height = height
        self.rgb = [[fill] * width for _ in range(height)]
        self.opaque = [[opaque] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rgb[y][x] = colour
            self.opaque[y][x] = True

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour, width=1):
        self.rect(x0, y0, x1, y0 + width, colour)
        self.rect(x0, y1 - width, x1, y1, colour)
        self.rect(x0, y0, x0 + width, y1, colour)
        self.rect(x1 - width, y0, x1, y1, colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius:
                    self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1.0):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            self.disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, colour)

    def vertical_gradient(self, top, bottom):
        for y in range(self.height):
            t = y / max(1, self.height - 1)
            colour = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            for x in range(self.width):
                self.put(x, y, colour)


# --- the icon: a monitor whose screen shows three linked network nodes ----------------------------

def draw_icon():
    c = Canvas(64, 64, opaque=False)
    # Monitor case, screen and stand.
    c.rect(4, 6, 60, 46, (64, 64, 96))
    c.frame(4, 6, 60, 46, (32, 32, 48), 2)
    c.rect(8, 10, 56, 42, (0, 51, 153))
    c.rect(26, 46, 38, 52, (96, 96, 128))
    c.rect(16, 52, 48, 58, (64, 64, 96))
    c.frame(16, 52, 48, 58, (32, 32, 48))
    # Links, then the nodes on top of them.
    nodes = [(18, 19), (46, 18), (32, 34)]
    for (x0, y0), (x1, y1) in [(nodes[0], nodes[1]), (nodes[1], nodes[2]), (nodes[2], nodes[0])]:
        c.line(x0, y0, x1, y1, (255, 255, 0), 2)
    for (x, y), colour in zip(nodes, [(0, 255, 0), (255, 102, 0), (0, 255, 255)]):
        c.disc(x, y, 5, (255, 255, 255))
        c.disc(x, y, 3.5, colour)
    # A green power lamp.
    c.rect(52, 43, 56, 45, (0, 255, 0))
    return c


def palette_256():
    """A 6 x 6 x 6 colour cube followed by 40 greys: 256 entries."""
    levels = [0, 51, 102, 153, 204, 255]
    entries = [(r, g, b) for r in levels for g in levels for b in levels]
    entries += [(round(i * 255 / 39),) * 3 for i in range(40)]
    assert len(entries) == 256
    return entries


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def ico_bytes(c):
    """One 8 bpp image with its palette and AND mask, in an ICO container."""
    palette = palette_256()
    cache = {}
    width, height = c.width, c.height
    xor_rows = []
    and_rows = []
    and_stride = ((width + 31) // 32) * 4
    for y in reversed(range(height)):  # bottom-up, as in a DIB
        row = bytearray()
        mask = bytearray(and_stride)
        for x in range(width):
            if c.opaque[y][x]:
                colour = c.rgb[y][x]
                if colour not in cache:
                    cache[colour] = nearest(palette, colour)
                row.append(cache[colour])
            else:
                row.append(0)
                mask[x // 8] |= 0x80 >> (x % 8)
        xor_rows.append(bytes(row))
        and_rows.append(bytes(mask))
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 8, 0,
                         width * height + and_stride * height, 0, 0, 256, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    image = header + colours + b''.join(xor_rows) + b''.join(and_rows)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', width, height, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


def png_bytes(c):
    """RGBA PNG of the icon as its palette shows it."""
    palette = palette_256()
    cache = {}
    raw = bytearray()
    for y in range(c.height):
        raw.append(0)
        for x in range(c.width):
            if c.opaque[y][x]:
                colour = c.rgb[y][x]
                if colour not in cache:
                    cache[colour] = palette[nearest(palette, colour)]
                raw += bytes(cache[colour]) + b'\xff'
            else:
                raw += b'\0\0\0\0'

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))

    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', c.width, c.height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def bmp32_bytes(c):
    """32 bpp BMP (BITMAPV4HEADER, bit fields with an alpha mask) of the icon as its palette shows
    it, top row first."""
    palette = palette_256()
    cache = {}
    pixels = bytearray()
    for y in range(c.height):
        for x in range(c.width):
            if c.opaque[y][x]:
                colour = c.rgb[y][x]
                if colour not in cache:
                    cache[colour] = palette[nearest(palette, colour)]
                r, g, b = cache[colour]
                pixels += bytes((b, g, r, 0xff))
            else:
                pixels += b'\0\0\0\0'
    info = struct.pack('<IiiHHIIiiII', 108, c.width, -c.height, 1, 32, 3, len(pixels),
                       3780, 3780, 0, 0)
    info += struct.pack('<IIII', 0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000)
    info += struct.pack('<I', 0x73524742) + bytes(36) + bytes(12)  # sRGB, no end points, gamma
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


# --- the bitmap: a small network, a router feeding three computers --------------------------------

def draw_computer(c, x, y, screen):
    c.rect(x, y, x + 50, y + 36, (80, 80, 112))
    c.rect(x + 4, y + 4, x + 46, y + 32, screen)
    c.rect(x + 20, y + 36, x + 30, y + 42, (112, 112, 144))
    c.rect(x + 8, y + 42, x + 42, y + 47, (80, 80, 112))


def draw_bitmap():
    c = Canvas(287, 349)
    c.vertical_gradient((153, 204, 255), (240, 248, 255))
    # A faint grid, like graph paper.
    for y in range(0, 349, 16):
        c.rect(0, y, 287, y + 1, (200, 220, 240))
    for x in range(0, 287, 16):
        c.rect(x, 0, x + 1, 349, (200, 220, 240))
    # The router with its two antennas and lamps.
    c.line(103, 40, 93, 12, (48, 48, 48), 3)
    c.line(149, 40, 159, 12, (48, 48, 48), 3)
    c.rect(83, 40, 169, 72, (0, 70, 140))
    c.frame(83, 40, 169, 72, (0, 30, 80), 2)
    for i in range(5):
        c.disc(98 + i * 14, 62, 3, (0, 255, 0) if i % 2 == 0 else (255, 200, 0))
    # Cables to three computers, with packets along them.
    computers = [(10, 160), (101, 180), (192, 160)]
    for x, y in computers:
        c.line(126, 72, x + 25, y, (0, 100, 0), 3)
        for t in (0.3, 0.6):
            c.disc(126 + (x + 25 - 126) * t, 72 + (y - 72) * t, 4, (255, 80, 0))
    for (x, y), screen in zip(computers, [(0, 153, 255), (0, 204, 102), (204, 102, 255)]):
        draw_computer(c, x, y, screen)
    # A globe at the bottom: the way out to the Internet.
    cx, cy, r = 126, 262, 28
    c.disc(cx, cy, r, (0, 102, 204))
    for k in (-2, -1, 0, 1, 2):
        yy = cy + k * r / 3
        half = math.sqrt(max(0.0, r * r - (yy - cy) ** 2))
        c.line(cx - half, yy, cx + half, yy, (153, 255, 153), 1.5)
    for k in (-0.6, 0, 0.6):
        for step in range(61):
            a = -math.pi / 2 + math.pi * step / 60
            c.put(round(cx + k * r * math.cos(a)), round(cy + r * math.sin(a)), (153, 255, 153))
    c.line(126, 227, 126, 234, (0, 100, 0), 3)
    # A border round the whole bitmap: the box shows its left and top edges and cuts off the
    # right and bottom ones.
    c.frame(0, 0, 287, 349, (128, 0, 0), 3)
    return c


def bmp_bytes(c):
    stride = (c.width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(c.height)):
        row = bytearray()
        for x in range(c.width):
            r, g, b = c.rgb[y][x]
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    pixels = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, c.width, c.height, 1, 24, 0, len(pixels),
                       3780, 3780, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def main():
    icon = draw_icon()
    outputs = {
        'program.ico': ico_bytes(icon),
        'program-64.png': png_bytes(icon),
        'program-64.bmp': bmp32_bytes(icon),
        'picture1.bmp': bmp_bytes(draw_bitmap()),
    }
    for name, data in outputs.items():
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
