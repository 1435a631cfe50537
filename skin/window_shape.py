"""The outline shared by every window of the skin: the top-left and bottom-right corners cut at
45 degrees, the other two rounded. The mask is black inside and white outside (white is cut
away); the outline is also drawn on the background so that the cut edge looks finished."""
import math

from PIL import Image, ImageDraw

import palette as P
from canvas import SCALE, Canvas, font, mix


def _arc(cx, cy, r, a0, a1, steps=12):
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / steps))) for i in range(steps + 1)]


def outline(width, height, chamfer, corner):
    pts = [(chamfer, 0), (width - corner, 0)]
    pts += _arc(width - corner, corner, corner, -90, 0)
    pts += [(width, height - chamfer), (width - chamfer, height)]
    pts += _arc(corner, height - corner, corner, 90, 180)
    pts += [(0, chamfer)]
    return pts


def mask(width, height, chamfer, corner):
    img = Image.new("RGB", (width, height), (255, 255, 255))
    ImageDraw.Draw(img).polygon(outline(width, height, chamfer, corner), fill=(0, 0, 0))
    return img


def draw_edge(cv, chamfer, corner):
    pts = outline(cv.width, cv.height, chamfer, corner)
    cv.draw.line([(px * SCALE, py * SCALE) for px, py in pts + pts[:1]], fill=P.EDGE, width=3)


def dialog_background(width, height, title, chamfer=18, corner=12):
    """A dialog's body: the window gradient, a title and the accent strip of the main window."""
    cv = Canvas(width, height, P.WINDOW_BOTTOM)
    cv.vgradient(0, 0, width, height, P.WINDOW_TOP, P.WINDOW_BOTTOM)
    cv.polygon([(0, 0), (width * 0.45, 0), (width * 0.45 - 6, 5), (0, 5)], fill=P.ACCENT_DARK)
    if title:
        cv.text(chamfer + 8, 14, title, font("bold", 13), P.LEGEND)
    draw_edge(cv, chamfer, corner)
    return cv


def panel(cv, x, y, w, h):
    cv.rrect(x, y, w, h, 10, fill=P.PANEL, outline=P.PANEL_EDGE, width=1)


def inset_field(cv, x, y, w, h):
    cv.rrect(x, y, w, h, 5, fill=mix(P.PLATE, P.WINDOW_BOTTOM, 0.5), outline=P.PLATE_EDGE, width=1)
