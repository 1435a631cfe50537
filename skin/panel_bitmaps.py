"""The lighting panel's bitmaps: 24-bit pictures drawn on the panel's flat colour.

"up" and plain names are the unselected look, "down" and "ok" names the selected look.
"""
import os

import palette as P
from canvas import Canvas, mix, rgb, save_bmp

SLIDER_SIZE = (160, 22)
SLIDER_POSITIONS = 6
SLIDER_COUNT = 26          # 0..5 brightness, 6..11 speed, the rest spare looks
PROGRESS_SIZE = (140, 12)
PROGRESS_FRAMES = 10

SWATCHES = {"hong": rgb("#ef4444"), "huang": rgb("#facc15"), "lv": rgb("#22c55e"), "lan": rgb("#3b82f6")}
SLIDER_FAMILIES = (P.ACCENT, rgb("#f59e0b"), rgb("#a78bfa"), rgb("#34d399"), rgb("#f472b6"))


def _tile(w, h, selected):
    cv = Canvas(w, h, P.PANEL)
    cv.rrect(0.5, 0.5, w - 1, h - 1, 6, fill=P.ACCENT_DARK if selected else mix(P.PANEL, P.BUTTON_TOP, 0.8),
             outline=P.ACCENT if selected else P.BUTTON_EDGE, width=1)
    return cv, (P.LEGEND if selected else P.LEGEND_DIM)


def _arrow(cv, cx, cy, direction, colour, size=6):
    dx, dy = {"left": (-1, 0), "right": (1, 0), "up": (0, -1), "down": (0, 1)}[direction]
    tip = (cx + dx * size, cy + dy * size)
    back = (cx - dx * size, cy - dy * size)
    cv.line([back, tip], colour, 1.8)
    px, py = -dy, dx
    cv.line([(tip[0] - dx * 4 + px * 4, tip[1] - dy * 4 + py * 4), tip,
             (tip[0] - dx * 4 - px * 4, tip[1] - dy * 4 - py * 4)], colour, 1.8)


def direction_tile(direction, selected):
    cv, colour = _tile(34, 24, selected)
    _arrow(cv, 17, 12, direction, colour)
    return cv.final()


def spread_tile(outward, selected):
    cv, colour = _tile(34, 24, selected)
    cv.ellipse(15, 10, 4, 4, fill=colour)
    for side in (-1, 1):
        base = 17 + side * (5 if outward else 13)
        tip = 17 + side * (13 if outward else 5)
        cv.line([(base, 12), (tip, 12)], colour, 1.6)
        d = 1 if tip > base else -1
        cv.line([(tip - d * 3, 9), (tip, 12), (tip - d * 3, 15)], colour, 1.6)
    return cv.final()


def light_switch(on):
    cv = Canvas(52, 26, P.PANEL)
    cv.rrect(2, 3, 48, 20, 10, fill=P.ACCENT_DEEP if on else P.LED_OFF,
             outline=P.ACCENT if on else P.BUTTON_EDGE, width=1)
    knob_x = 30 if on else 4
    cv.ellipse(knob_x, 5, 16, 16, fill=P.LEGEND if on else P.LEGEND_DIM)
    return cv.final()


def swatch(colour, chosen):
    cv = Canvas(26, 26, P.PANEL)
    if chosen:
        cv.ellipse(1, 1, 24, 24, outline=P.LEGEND, width=1.5)
    cv.ellipse(5, 5, 16, 16, fill=colour)
    if chosen:
        cv.line([(9, 13), (12, 16), (17, 10)], P.LEGEND, 1.8)
    return cv.final()


def multicolour_toggle(on):
    cv = Canvas(40, 20, P.PANEL)
    colours = [rgb(c) for c in ("#ef4444", "#f59e0b", "#22c55e", "#22d3ee", "#6366f1", "#d946ef")]
    cv.rrect(1, 2, 38, 16, 8, fill=P.LED_OFF, outline=P.BUTTON_EDGE, width=1)
    for i, c in enumerate(colours):
        cv.ellipse(5 + i * 5.2, 7, 5, 6, fill=c if on else mix(c, P.LED_OFF, 0.75))
    if on:
        cv.rrect(1, 2, 38, 16, 8, outline=P.LEGEND, width=1)
    return cv.final()


def tool_tile(tool, selected):
    cv, colour = _tile(30, 26, selected)
    if tool == 1:   # paint with the chosen colour: a brush
        cv.line([(10, 19), (19, 8)], colour, 2.2)
        cv.polygon([(7, 22), (8, 17), (12, 20)], fill=colour)
    else:           # paint with the base colour: a bucket
        cv.polygon([(9, 11), (18, 8), (21, 18), (12, 21)], outline=colour)
        cv.line([(9, 11), (12, 21)], colour, 1.4)
        cv.ellipse(20, 17, 4, 5, fill=colour)
    return cv.final()


def slider(index):
    w, h = SLIDER_SIZE
    colour = SLIDER_FAMILIES[(index // SLIDER_POSITIONS) % len(SLIDER_FAMILIES)]
    pos = index % SLIDER_POSITIONS
    cv = Canvas(w, h, P.PANEL)
    left, right, cy = 11, w - 11, h / 2
    step = (right - left) / (SLIDER_POSITIONS - 1)
    knob = left + pos * step
    cv.rrect(left - 3, cy - 2.5, right - left + 6, 5, 2.5, fill=P.LED_OFF)
    if pos:
        cv.rrect(left - 3, cy - 2.5, knob - left + 3, 5, 2.5, fill=mix(colour, P.PANEL, 0.25))
    for i in range(SLIDER_POSITIONS):
        tx = left + i * step
        cv.ellipse(tx - 1.5, cy - 1.5, 3, 3, fill=P.LEGEND if i <= pos else P.TEXT_DIM)
    cv.ellipse(knob - 8, cy - 8, 16, 16, fill=P.LEGEND)
    cv.ellipse(knob - 5, cy - 5, 10, 10, fill=colour)
    return cv.final()


def progress(frame):
    w, h = PROGRESS_SIZE
    cv = Canvas(w, h, P.BAR)
    cv.rrect(0.5, 2, w - 1, h - 4, 4, fill=P.LED_OFF)
    seg = w / PROGRESS_FRAMES
    for i in range(PROGRESS_FRAMES):
        age = (frame - i) % PROGRESS_FRAMES
        if age < 4:
            cv.rrect(i * seg + 2, 3.5, seg - 3, h - 7, 2, fill=mix(P.ACCENT, P.LED_OFF, age / 4))
    return cv.final()


def pictures():
    """File name -> picture, for every bitmap the panel loads."""
    out = {}
    out["dengup.bmp"], out["dengdown.bmp"] = light_switch(False), light_switch(True)
    for d in ("left", "right", "up", "down"):
        out[f"{d}up.bmp"] = direction_tile(d, False)
        out[f"{d}down.bmp"] = direction_tile(d, True)
    out["kuosan.bmp"], out["kuosandown.bmp"] = spread_tile(True, False), spread_tile(True, True)
    out["julong.bmp"], out["julongdown.bmp"] = spread_tile(False, False), spread_tile(False, True)
    for name, colour in SWATCHES.items():
        out[f"{name}.bmp"] = swatch(colour, False)
        out[f"{name}ok.bmp"] = swatch(colour, True)
    out["sjsup.bmp"], out["sjsdown.bmp"] = multicolour_toggle(False), multicolour_toggle(True)
    for tool in (1, 2):
        out[f"user{tool}up.bmp"] = tool_tile(tool, False)
        out[f"user{tool}down.bmp"] = tool_tile(tool, True)
    for frame in range(PROGRESS_FRAMES):
        out[f"jdt{frame + 1}.bmp"] = progress(frame)
    for index in range(SLIDER_COUNT):
        out[f"{index}.bmp"] = slider(index)
    return out


def write(skins):
    for name, picture in pictures().items():
        save_bmp(picture, os.path.join(skins, name))
