"""The tray and window icons: 128 keyboard absent, 141 connected, 142 macro playing.

Each icon is a keyboard whose body colour tells the state at a glance (grey, cyan, amber) plus a
badge (a red cross, none, a play sign), so the three differ even at 16 x 16. Icon files hold 16,
32 and 48 pixel images as 32-bit device-independent bitmaps with alpha and an AND mask.
"""
import os
import struct

from PIL import Image, ImageDraw

from canvas import rgb

SIZES = (16, 32, 48)
OVERSAMPLE = 8

LOOKS = {
    128: {"body": rgb("#5b6270"), "keys": rgb("#1d2027"), "badge": rgb("#e5484d"), "mark": "cross"},
    141: {"body": rgb("#22d3ee"), "keys": rgb("#0b3b47"), "badge": None, "mark": None},
    142: {"body": rgb("#f59e0b"), "keys": rgb("#4a2c05"), "badge": rgb("#16a34a"), "mark": "play"},
}


def draw(icon_id, size):
    look = LOOKS[icon_id]
    s = size * OVERSAMPLE
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    u = s / 16.0
    # keyboard body, with a dark rim so it reads on light and dark task bars
    small = size <= 16
    body = [0.5 * u, (2.5 if small else 3.5) * u, 15.5 * u, (13.5 if small else 12.5) * u]
    d.rounded_rectangle(body, radius=2 * u, fill=look["body"] + (255,), outline=(12, 14, 18, 255),
                        width=max(1, round(0.7 * u)))
    rows = 2 if size <= 16 else 3
    cols = 4 if size <= 16 else 6
    gap = 0.9 * u
    kx0, ky0, kx1, ky1 = 2.2 * u, 5.2 * u, 13.8 * u, (8.9 if rows == 2 else 9.6) * u
    kw = (kx1 - kx0 - gap * (cols - 1)) / cols
    kh = (ky1 - ky0 - gap * (rows - 1)) / rows
    for r in range(rows):
        for c in range(cols):
            x = kx0 + c * (kw + gap)
            y = ky0 + r * (kh + gap)
            d.rectangle([x, y, x + kw, y + kh], fill=look["keys"] + (255,))
    d.rectangle([4.5 * u, 10.1 * u, 11.5 * u, 11.2 * u], fill=look["keys"] + (255,))
    if look["badge"]:
        cx, cy, r = (11.0 * u, 11.0 * u, 5.0 * u) if small else (11.8 * u, 11.8 * u, 4.1 * u)
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=look["badge"] + (255,), outline=(12, 14, 18, 255),
                  width=max(1, round(0.6 * u)))
        white = (255, 255, 255, 255)
        if look["mark"] == "cross":
            a = 1.9 * u
            w = max(1, round(1.1 * u))
            d.line([cx - a, cy - a, cx + a, cy + a], fill=white, width=w)
            d.line([cx - a, cy + a, cx + a, cy - a], fill=white, width=w)
        else:
            d.polygon([(cx - 1.5 * u, cy - 2.3 * u), (cx + 2.4 * u, cy), (cx - 1.5 * u, cy + 2.3 * u)], fill=white)
    return img.resize((size, size), Image.LANCZOS)


def _dib_entry(img):
    """A 32-bit BITMAPINFOHEADER image, rows bottom-up, followed by its 1-bit AND mask."""
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    px = img.load()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            pixels += bytes((b, g, r, a))
    row_bytes = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(w):
            if px[x, y][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(pixels) + bytes(mask)


def ico_bytes(images):
    entries = [_dib_entry(img) for img in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for img, data in zip(images, entries):
        w, h = img.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(entries)


def write(icons_dir):
    os.makedirs(icons_dir, exist_ok=True)
    for icon_id in LOOKS:
        with open(os.path.join(icons_dir, f"icon_{icon_id}.ico"), "wb") as out:
            out.write(ico_bytes([draw(icon_id, size) for size in SIZES]))
