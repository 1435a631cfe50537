"""The looks of keys, buttons and indicators in each of their states.

Every function draws strictly inside the rectangle it is given, so that each state sheet differs
from the others only inside the controls' own rectangles.
"""
import palette as P
from canvas import font, mix

NORMAL, HOVER, PRESSED, SET, SELECTED, DISABLED, COLOUR_OFF, COLOUR_ON, LIT = (
    "normal", "hover", "pressed", "set", "selected", "disabled", "colour_off", "colour_on", "lit")


def key_cap(cv, rect, legend, sub, state):
    """A key cap inside `rect`, leaving a flat margin of plate colour around it."""
    x, y, w, h = rect
    m = 2
    cx, cy, cw, ch = x + m, y + m, w - 2 * m, h - 2 * m
    top, bottom, edge, text = P.CAP_TOP, P.CAP_BOTTOM, P.CAP_EDGE, P.LEGEND
    lift = 0
    if state == HOVER:
        top, bottom = mix(P.CAP_TOP, P.ACCENT, 0.12), mix(P.CAP_BOTTOM, P.ACCENT, 0.08)
        edge, text = P.ACCENT, mix(P.LEGEND, P.ACCENT, 0.35)
    elif state == PRESSED:
        top, bottom = mix(P.ACCENT_DARK, P.PLATE, 0.35), mix(P.ACCENT_DARK, P.PLATE, 0.05)
        edge, text, lift = P.ACCENT, P.LEGEND, 1
    elif state == SET:
        top, bottom = mix(P.CAP_TOP, P.SET_MARK, 0.16), mix(P.CAP_BOTTOM, P.SET_MARK, 0.10)
        edge = mix(P.CAP_EDGE, P.SET_MARK, 0.55)
    elif state == COLOUR_OFF:
        top, bottom, edge, text = P.CAP_BOTTOM, mix(P.CAP_BOTTOM, P.PLATE, 0.4), P.CAP_EDGE, P.LEGEND_DIM
    elif state == COLOUR_ON:
        top, bottom, edge, text = mix(P.PICK, P.LEGEND, 0.1), P.PICK_DEEP, mix(P.PICK, P.LEGEND, 0.5), P.LEGEND

    # skirt (the cap's side) under the top surface, then the top surface
    cv.rrect(cx, cy, cw, ch, 5, fill=P.CAP_SKIRT)
    surface_h = ch - (2 if lift else 3)
    cv.vgradient(cx, cy + lift, cw, surface_h, top, bottom, radius=5)
    cv.rrect(cx, cy + lift, cw, surface_h, 5, outline=edge, width=1)
    if state == HOVER:
        cv.glow(cx + 1, cy + 1, cw - 2, surface_h - 2, 4, P.ACCENT, 0.5, 4)
    elif state == PRESSED:
        cv.rrect(cx + 1.5, cy + lift + 1.5, cw - 3, surface_h - 3, 4, outline=mix(P.ACCENT_DEEP, P.PLATE, 0.3),
                 width=1)

    # legends
    tx, ty, tw, th = cx, cy + lift, cw, surface_h
    if sub:
        cv.text_centred(tx + tw / 2, ty + th * 0.30, sub, _legend_font(cv, sub, tw, 9, "regular"),
                        mix(text, P.LEGEND_DIM, 0.45))
        cv.text_centred(tx + tw / 2, ty + th * 0.68, legend, _legend_font(cv, legend, tw, 12, "bold"), text)
    elif legend in ("Win", "App"):
        _glyph(cv, legend, tx + tw / 2, ty + th / 2, text)
    elif legend:
        size = 13 if len(legend) == 1 else (10 if len(legend) <= 3 else 9)
        cv.text_centred(tx + tw / 2, ty + th / 2, legend, _legend_font(cv, legend, tw, size, "bold"), text)

    # state marks
    if state == SET:
        cv.rrect(cx + cw / 2 - 7, cy + ch - 5.5, 14, 2, 1, fill=P.SET_MARK)
        cv.ellipse(cx + cw - 8, cy + 3, 4, 4, fill=P.SET_MARK)
    elif state == COLOUR_OFF:
        cv.ellipse(cx + cw - 9, cy + 3, 6, 6, outline=P.LEGEND_DIM, width=1)
    elif state == COLOUR_ON:
        cv.ellipse(cx + cw - 9, cy + 3, 6, 6, fill=P.LEGEND)


def _legend_font(cv, text, width, size, kind):
    return cv.fit_font(text, "condensed_bold" if kind == "bold" and len(text) > 3 else kind, size,
                       width - 6)


def _glyph(cv, which, cx, cy, colour):
    if which == "Win":
        s = 4
        for dx in (-s - 0.5, 0.5):
            for dy in (-s - 0.5, 0.5):
                cv.rect(cx + dx, cy + dy, s, s, fill=colour)
    else:  # App: a menu
        cv.rrect(cx - 6, cy - 6, 12, 12, 2, outline=colour, width=1.2)
        for i in range(3):
            cv.rect(cx - 3.5, cy - 3 + i * 2.6, 7, 1.2, fill=colour)


def push_button(cv, rect, state, primary=False, radius=6):
    """A pill button whose label the program draws; only the body is in the picture."""
    x, y, w, h = rect
    top, bottom, edge = P.BUTTON_TOP, P.BUTTON_BOTTOM, P.BUTTON_EDGE
    if primary:
        top, bottom, edge = mix(P.ACCENT_DEEP, P.LEGEND, 0.05), P.ACCENT_DARK, mix(P.ACCENT_DEEP, P.ACCENT, 0.5)
    if state == HOVER:
        top, bottom, edge = mix(top, P.ACCENT, 0.14), mix(bottom, P.ACCENT, 0.08), P.ACCENT
    elif state == PRESSED:
        top, bottom, edge = mix(bottom, P.PLATE, 0.5), mix(bottom, P.PLATE, 0.2), P.ACCENT_DEEP
    elif state == SELECTED:
        top, bottom, edge = mix(P.ACCENT_DEEP, P.ACCENT, 0.15), P.ACCENT_DARK, P.ACCENT
    elif state == DISABLED:
        top, bottom, edge = mix(P.BUTTON_BOTTOM, P.PLATE, 0.4), mix(P.BUTTON_BOTTOM, P.PLATE, 0.5), mix(
            P.BUTTON_EDGE, P.PLATE, 0.5)
    cv.vgradient(x, y, w, h, top, bottom, radius=radius)
    cv.rrect(x, y, w, h, radius, outline=edge, width=1)
    if state == HOVER:
        cv.glow(x + 1, y + 1, w - 2, h - 2, radius - 1, P.ACCENT, 0.25, 3)
    if state == SELECTED:
        cv.rrect(x + w / 2 - 10, y + h - 4, 20, 2, 1, fill=P.ACCENT)


def caption_button(cv, rect, state, caption, primary=False):
    """A pill button that carries its own caption in the picture."""
    push_button(cv, rect, state, primary)
    x, y, w, h = rect
    colour = P.TEXT if state not in (DISABLED,) else P.TEXT_DIM
    if state == SELECTED:
        colour = P.LEGEND
    cv.text_centred(x + w / 2, y + h / 2, caption, cv.fit_font(caption, "bold", 11, w - 8), colour)


def icon_button(cv, rect, state, icon, danger=False):
    """A round header button with a line icon."""
    x, y, w, h = rect
    colour = P.LEGEND_DIM
    if state in (HOVER, PRESSED):
        fill = mix(P.DANGER, P.PLATE, 0.15 if state == HOVER else 0.45) if danger else mix(
            P.BUTTON_TOP, P.ACCENT, 0.18 if state == HOVER else 0.06)
        cv.rrect(x + 1, y + 1, w - 2, h - 2, 7, fill=fill,
                 outline=P.DANGER if danger else P.ACCENT, width=1)
        colour = P.LEGEND
    cx, cy = x + w / 2, y + h / 2 + (1 if state == PRESSED else 0)
    lw = 1.6
    if icon == "close":
        cv.line([(cx - 5, cy - 5), (cx + 5, cy + 5)], colour, lw)
        cv.line([(cx - 5, cy + 5), (cx + 5, cy - 5)], colour, lw)
    elif icon == "minimize":
        cv.line([(cx - 6, cy + 4), (cx + 6, cy + 4)], colour, lw)
    elif icon == "menu":
        for d in (-5, 0, 5):
            cv.line([(cx - 6, cy + d), (cx + 6, cy + d)], colour, lw)
    elif icon == "help":
        cv.ellipse(cx - 8, cy - 8, 16, 16, outline=colour, width=lw)
        cv.text_centred(cx, cy, "?", font("bold", 11), colour)


def indicator(cv, rect, label, lit):
    """A lock light: a dot and a short name."""
    x, y, w, h = rect
    dot = P.LED_ON if lit else P.LED_OFF
    if lit:
        cv.ellipse(x + 3, y + h / 2 - 5, 10, 10, fill=mix(P.LED_ON, P.PLATE, 0.7))
    cv.ellipse(x + 5, y + h / 2 - 3, 6, 6, fill=dot)
    cv.text(x + 15, y + h / 2 - 5, label, font("condensed_bold", 8), P.LEGEND if lit else P.LEGEND_DIM)


def bank_indicator(cv, rect, bank):
    """The G-key bank light: A or B lit."""
    x, y, w, h = rect
    cv.rrect(x, y, w, h, 6, fill=mix(P.PLATE, P.CAP_BOTTOM, 0.5), outline=P.PLATE_EDGE, width=1)
    cv.text(x + 8, y + h / 2 - 5, "BANK", font("condensed_bold", 8), P.LEGEND_DIM)
    seg_w = (w - 52) / 2
    for i, name in enumerate("AB"):
        sx = x + 44 + i * (seg_w + 4)
        on = i == bank
        cv.rrect(sx, y + 5, seg_w, h - 10, 4, fill=P.ACCENT_DEEP if on else P.LED_OFF,
                 outline=P.ACCENT if on else P.PLATE_EDGE, width=1)
        cv.text_centred(sx + seg_w / 2, y + h / 2, name, font("bold", 10), P.LEGEND if on else P.LEGEND_DIM)


def flip_plate(cv, rect, lit):
    x, y, w, h = rect
    cv.rrect(x, y, w, h, h / 2, fill=P.ACCENT_DARK if lit else mix(P.PLATE, P.CAP_BOTTOM, 0.5),
             outline=P.ACCENT if lit else P.PLATE_EDGE, width=1)
    cv.text_centred(x + w / 2, y + h / 2, "F / D", font("condensed_bold", 8),
                    P.LEGEND if lit else P.LEGEND_DIM)


def flip_button(cv, rect, state):
    x, y, w, h = rect
    fill, edge, colour = mix(P.PLATE, P.CAP_BOTTOM, 0.6), P.PLATE_EDGE, P.LEGEND_DIM
    if state == HOVER:
        fill, edge, colour = mix(P.CAP_TOP, P.ACCENT, 0.15), P.ACCENT, P.LEGEND
    elif state == PRESSED:
        fill, edge, colour = mix(P.PLATE, P.ACCENT_DEEP, 0.3), P.ACCENT_DEEP, P.ACCENT
    cv.rrect(x, y, w, h, h / 2, fill=fill, outline=edge, width=1)
    cx, cy = x + w / 2, y + h / 2
    cv.polygon([(cx - 7, cy - 1), (cx - 3, cy - 5), (cx + 1, cy - 1)], fill=colour)
    cv.polygon([(cx - 1, cy + 1), (cx + 3, cy + 5), (cx + 7, cy + 1)], fill=colour)
