"""Drawing helpers shared by every picture of the skin.

Pictures are drawn at twice their size and reduced by area averaging, which gives smooth edges
and text while keeping every change local: a control drawn differently on one state sheet only
changes the pixels inside its own rectangle, so its image cut from that sheet meets the
background without a seam.
"""
import os

from PIL import Image, ImageDraw, ImageFont

SCALE = 2

FONT_DIRS = ("/usr/share/fonts/truetype/dejavu",)
FONT_FILES = {
    "regular": "DejaVuSans.ttf",
    "bold": "DejaVuSans-Bold.ttf",
    "condensed": "DejaVuSansCondensed.ttf",
    "condensed_bold": "DejaVuSansCondensed-Bold.ttf",
}

_font_cache = {}


def font(kind, size):
    """A font of the given kind at `size` pixels of the final picture."""
    key = (kind, size)
    if key not in _font_cache:
        for folder in FONT_DIRS:
            path = os.path.join(folder, FONT_FILES[kind])
            if os.path.exists(path):
                _font_cache[key] = ImageFont.truetype(path, size * SCALE)
                break
        else:
            raise SystemExit(f"skin: font {FONT_FILES[kind]} not found (install fonts-dejavu-core)")
    return _font_cache[key]


def rgb(hex_text):
    hex_text = hex_text.lstrip("#")
    return tuple(int(hex_text[i:i + 2], 16) for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


class Canvas:
    """An RGB picture addressed in final-size pixels, drawn at SCALE times that size."""

    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.image = Image.new("RGB", (width * SCALE, height * SCALE), fill)
        self.draw = ImageDraw.Draw(self.image)

    def copy(self):
        other = Canvas.__new__(Canvas)
        other.width, other.height = self.width, self.height
        other.image = self.image.copy()
        other.draw = ImageDraw.Draw(other.image)
        return other

    @staticmethod
    def _box(x, y, w, h):
        s = SCALE
        return [round(x * s), round(y * s), round((x + w) * s) - 1, round((y + h) * s) - 1]

    def rect(self, x, y, w, h, fill=None, outline=None, width=1):
        self.draw.rectangle(self._box(x, y, w, h), fill=fill, outline=outline,
                            width=round(width * SCALE) if outline else 0)

    def rrect(self, x, y, w, h, radius, fill=None, outline=None, width=1):
        self.draw.rounded_rectangle(self._box(x, y, w, h), radius=round(radius * SCALE), fill=fill,
                                    outline=outline, width=round(width * SCALE) if outline else 0)

    def vgradient(self, x, y, w, h, top, bottom, radius=0):
        """A vertical gradient clipped to a rounded rectangle."""
        box = self._box(x, y, w, h)
        gw, gh = box[2] - box[0] + 1, box[3] - box[1] + 1
        if gw <= 0 or gh <= 0:
            return
        grad = Image.new("RGB", (1, gh))
        for i in range(gh):
            grad.putpixel((0, i), mix(top, bottom, i / max(1, gh - 1)))
        grad = grad.resize((gw, gh))
        mask = Image.new("L", (gw, gh), 0)
        ImageDraw.Draw(mask).rounded_rectangle([0, 0, gw - 1, gh - 1], radius=round(radius * SCALE),
                                               fill=255)
        self.image.paste(grad, (box[0], box[1]), mask)

    def glow(self, x, y, w, h, radius, colour, strength, spread):
        """A soft halo inside the rectangle, brightest at its border."""
        for i in range(spread * SCALE, 0, -1):
            t = strength * (1 - i / (spread * SCALE + 1)) ** 2
            inset = (spread * SCALE - i) / SCALE
            self.rrect(x + inset, y + inset, w - 2 * inset, h - 2 * inset, max(1, radius - inset),
                       outline=mix(self.pixel(x + inset, y + h / 2), colour, t), width=1 / SCALE)

    def pixel(self, x, y):
        return self.image.getpixel((min(self.image.width - 1, round(x * SCALE)),
                                    min(self.image.height - 1, round(y * SCALE))))

    def line(self, points, fill, width=1):
        self.draw.line([(round(px * SCALE), round(py * SCALE)) for px, py in points], fill=fill,
                       width=max(1, round(width * SCALE)), joint="curve")

    def polygon(self, points, fill=None, outline=None):
        self.draw.polygon([(round(px * SCALE), round(py * SCALE)) for px, py in points], fill=fill,
                          outline=outline)

    def ellipse(self, x, y, w, h, fill=None, outline=None, width=1):
        self.draw.ellipse(self._box(x, y, w, h), fill=fill, outline=outline,
                          width=round(width * SCALE) if outline else 0)

    def text_size(self, text, fnt):
        left, top, right, bottom = self.draw.textbbox((0, 0), text, font=fnt)
        return (right - left) / SCALE, (bottom - top) / SCALE

    def text(self, x, y, text, fnt, fill):
        self.draw.text((round(x * SCALE), round(y * SCALE)), text, font=fnt, fill=fill)

    def text_centred(self, cx, cy, text, fnt, fill):
        """Text whose ink box is centred on (cx, cy)."""
        left, top, right, bottom = self.draw.textbbox((0, 0), text, font=fnt)
        self.draw.text((round(cx * SCALE - (left + right) / 2), round(cy * SCALE - (top + bottom) / 2)),
                       text, font=fnt, fill=fill)

    def fit_font(self, text, kind, size, max_width):
        """The largest font not above `size` in which the text fits `max_width`."""
        while size > 6:
            fnt = font(kind, size)
            if self.text_size(text, fnt)[0] <= max_width:
                return fnt
            size -= 1
        return font(kind, 6)

    def final(self):
        return self.image.reduce(SCALE)


def save_jpeg(image, path):
    # Full chroma resolution keeps the thin coloured outlines and small legends crisp.
    image.save(path, "JPEG", quality=93, subsampling=0, optimize=True)


def save_bmp(image, path):
    image.convert("RGB").save(path, "BMP")
