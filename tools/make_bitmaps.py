#!/usr/bin/env python3
"""Draws the version page's pictures: the about picture, the track and the train cars in two
railways' liveries, written as 256-colour BMP files into src/resources/bitmaps.

Usage: tools/make_bitmaps.py [OUTPUT_DIR]   (standard library only; run again after a change)
"""
import os
import struct
import sys

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
STEEL = (60, 60, 66)
WHEEL = (30, 30, 30)
GLASS = (170, 205, 225)
LIGHT = (255, 240, 150)

# Union Pacific: armour yellow with red lines and a grey roof.
UP = {"body": (250, 195, 40), "roof": (150, 150, 150), "band": (200, 20, 45),
      "trim": (120, 120, 120), "nose": (200, 20, 45)}
# Great Northern: Omaha orange between Pullman green bands, thin yellow lines.
GN = {"body": (230, 110, 30), "roof": (25, 75, 45), "band": (25, 75, 45),
      "trim": (245, 215, 60), "nose": (25, 75, 45)}


class Canvas:
    def __init__(self, width, height, fill=WHITE):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x, y, w, h, colour):
        for row in range(y, y + h):
            for col in range(x, x + w):
                self.put(col, row, colour)

    def disc(self, cx, cy, r, colour):
        for row in range(cy - r, cy + r + 1):
            for col in range(cx - r, cx + r + 1):
                if (col - cx) ** 2 + (row - cy) ** 2 <= r * r:
                    self.put(col, row, colour)

    def text(self, x, y, words, scale, colour, shadow=None):
        for char in words:
            glyph = FONT.get(char, FONT[" "])
            for row, bits in enumerate(glyph):
                for col in range(5):
                    if bits >> (4 - col) & 1:
                        if shadow:
                            self.rect(x + col * scale + 2, y + row * scale + 2, scale, scale,
                                      shadow)
                        self.rect(x + col * scale, y + row * scale, scale, scale, colour)
            x += 6 * scale

    def paste(self, other, x, y):
        for row in range(other.height):
            for col in range(other.width):
                if other.pixels[row][col] != WHITE:
                    self.put(x + col, y + row, other.pixels[row][col])

    def save(self, path):
        palette = sorted({colour for row in self.pixels for colour in row})
        assert len(palette) <= 256, f"{path}: {len(palette)} colours"
        index = {colour: i for i, colour in enumerate(palette)}
        stride = (self.width + 3) & ~3
        rows = b"".join(bytes(index[c] for c in row) + b"\0" * (stride - self.width)
                        for row in reversed(self.pixels))
        table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
        table += b"\0" * (1024 - len(table))
        offset = 14 + 40 + 1024
        header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 8, 0, len(rows),
                           2835, 2835, 256, 0)
        with open(path, "wb") as out:
            out.write(header + info + table + rows)


# 5 x 7 capitals and digits, one row per entry, the leftmost pixel in bit 4.
FONT = {
    " ": [0] * 7,
    ".": [0, 0, 0, 0, 0, 0b01100, 0b01100],
    "0": [0b01110, 0b10001, 0b10011, 0b10101, 0b11001, 0b10001, 0b01110],
    "1": [0b00100, 0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110],
    "A": [0b01110, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001],
    "C": [0b01110, 0b10001, 0b10000, 0b10000, 0b10000, 0b10001, 0b01110],
    "D": [0b11110, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b11110],
    "E": [0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b11111],
    "G": [0b01110, 0b10001, 0b10000, 0b10111, 0b10001, 0b10001, 0b01111],
    "I": [0b01110, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110],
    "L": [0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b11111],
    "M": [0b10001, 0b11011, 0b10101, 0b10101, 0b10001, 0b10001, 0b10001],
    "N": [0b10001, 0b11001, 0b10101, 0b10011, 0b10001, 0b10001, 0b10001],
    "O": [0b01110, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110],
    "P": [0b11110, 0b10001, 0b10001, 0b11110, 0b10000, 0b10000, 0b10000],
    "Q": [0b01110, 0b10001, 0b10001, 0b10001, 0b10101, 0b10010, 0b01101],
    "R": [0b11110, 0b10001, 0b10001, 0b11110, 0b10100, 0b10010, 0b10001],
    "S": [0b01111, 0b10000, 0b10000, 0b01110, 0b00001, 0b00001, 0b11110],
    "T": [0b11111, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100],
    "U": [0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110],
    "V": [0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01010, 0b00100],
}


def truck(c, x, bottom):
    """A two-axle truck whose wheels end on the bitmap's bottom row."""
    c.rect(x, bottom - 4, 16, 2, STEEL)
    for wheel in (x + 3, x + 12):
        c.disc(wheel, bottom - 2, 2, WHEEL)


def car_body(livery, width, height, roof_top=0):
    """Body, roof, bands and trucks of a passenger car; returns the canvas and the window row."""
    c = Canvas(width, height)
    bottom = height - 1
    body_top = roof_top + 3
    c.rect(3, roof_top + 1, width - 6, 2, livery["roof"])
    c.rect(2, body_top, width - 4, bottom - 4 - body_top, livery["body"])
    c.rect(2, body_top, width - 4, 1, livery["band"])
    c.rect(2, bottom - 6, width - 4, 2, livery["band"])
    c.rect(2, bottom - 4, width - 4, 1, livery["trim"])
    truck(c, 8, bottom)
    truck(c, width - 24, bottom)
    c.rect(0, bottom - 7, 2, 2, STEEL)  # couplers
    c.rect(width - 2, bottom - 7, 2, 2, STEEL)
    return c, body_top + 3


def windows(c, row, first, last, spacing, width=5, height=4):
    for x in range(first, last, spacing):
        c.rect(x, row, width, height, GLASS)


def door(c, x, top, bottom, livery):
    c.rect(x, top, 1, bottom - top, livery["trim"])
    c.rect(x + 9, top, 1, bottom - top, livery["trim"])


def coach(livery, spacing=8):
    c, row = car_body(livery, 96, 22)
    windows(c, row, 10, 86, spacing)
    door(c, 3, row - 1, 15, livery)
    door(c, 83, row - 1, 15, livery)
    return c


def baggage(livery):
    c, row = car_body(livery, 96, 22)
    for x in (20, 66):
        c.rect(x, row - 1, 12, 10, livery["trim"])
        c.rect(x + 1, row, 10, 8, livery["body"])
    windows(c, row, 44, 50, 8)
    return c


def combine(livery):
    c, row = car_body(livery, 96, 22)
    c.rect(12, row - 1, 12, 10, livery["trim"])
    c.rect(13, row, 10, 8, livery["body"])
    windows(c, row, 38, 88, 8)
    return c


def diner(livery):
    c, row = car_body(livery, 96, 22)
    windows(c, row, 8, 34, 7, 3, 3)  # kitchen
    windows(c, row, 38, 90, 13, 10, 5)  # wide dining room windows
    return c


def observation(livery):
    """An observation car: a raised dome and a tail with a lit sign."""
    c, row = car_body(livery, 96, 26, roof_top=4)
    c.rect(30, 1, 36, 6, livery["roof"])
    windows(c, 2, 33, 63, 8, 6, 3)  # dome glass
    windows(c, row, 10, 86, 8)
    tail = 90
    c.rect(tail, row - 2, 4, 12, livery["band"])
    c.disc(tail + 2, row + 4, 2, LIGHT)
    return c


def locomotive(livery, width, height, nose_left):
    """A streamlined diesel unit with its cab in a rounded nose at one end."""
    c = Canvas(width, height)
    bottom = height - 1
    c.rect(4, 2, width - 8, bottom - 5, livery["body"])
    c.rect(4, 1, width - 8, 2, livery["roof"])
    c.rect(4, bottom - 8, width - 8, 3, livery["band"])
    c.rect(4, bottom - 5, width - 8, 1, livery["trim"])
    for x in range(22, width - 24, 12):
        c.rect(x, 5, 6, 3, livery["trim"])  # grilles
    nose = 0 if nose_left else width - 12
    for step in range(8):  # slanted nose
        span = 12 - step
        start = nose + (step if nose_left else 0)
        c.rect(start, 2 + step // 2, span, 1, livery["nose"])
    c.rect(nose + 2, 6, 12, bottom - 11, livery["body"])
    c.rect(nose + (4 if nose_left else 6), 4, 5, 3, GLASS)
    c.disc(nose + (2 if nose_left else 10), 9, 1, LIGHT)
    truck(c, 10, bottom)
    truck(c, width - 26, bottom)
    return c


def engines(livery, height):
    """Two units back to back: a cab at each end, as the strip's trains run either way."""
    c = Canvas(192, height)
    c.paste(locomotive(livery, 96, height, nose_left=True), 0, 0)
    c.paste(locomotive(livery, 96, height, nose_left=False), 96, 0)
    return c


def track(width=188, height=13):
    c = Canvas(width, height)
    ballast = [(150, 140, 125), (125, 115, 100)]
    for row in range(3, height):
        inset = max(0, row - 9)
        for x in range(inset, width - inset):
            c.put(x, row, ballast[(x * 7 + row * 3) % 5 == 0])
    for x in range(2, width, 8):
        c.rect(x, 2, 5, 3, (95, 65, 40))  # ties
    c.rect(0, 0, width, 2, STEEL)  # rail head
    return c


def about():
    c = Canvas(555, 176)
    for row in range(118):  # sky, light toward the horizon
        shade = row * 60 // 118
        c.rect(0, row, 555, 1, (120 + shade, 170 + shade // 2, 230))
    for x in range(555):  # hills
        top = 88 + int(14 * abs(((x % 180) - 90) / 90.0))
        c.rect(x, top, 1, 118 - top, (90, 140, 70))
    c.rect(0, 118, 555, 58, (110, 160, 80))
    c.text(60, 14, "VELQUIST", 9, WHITE, shadow=(40, 60, 110))
    c.text(150, 86, "DCC DECODER PROGRAMMER", 2, WHITE, shadow=(40, 60, 110))
    rail = track(555)
    c.paste(rail, 0, 160)
    x = 60
    for part in (engines(UP, 24), coach(UP), diner(UP), observation(UP)):
        c.paste(part, x, 160 - part.height)
        x += part.width
    return c


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "src", "resources", "bitmaps")
    os.makedirs(out, exist_ok=True)
    pictures = {
        "about": about(),
        "track": track(),
        "up_engines": engines(UP, 24),
        "up_coach1": coach(UP),
        "up_coach2": coach(UP, spacing=11),
        "up_observation": observation(UP),
        "up_baggage": baggage(UP),
        "up_combine": combine(UP),
        "up_diner": diner(UP),
        "gn_engines": engines(GN, 22),
        "gn_baggage": baggage(GN),
        "gn_coach": coach(GN),
        "gn_observation2": observation(GN),
    }
    for name, picture in pictures.items():
        picture.save(os.path.join(out, name + ".bmp"))


if __name__ == "__main__":
    main()
