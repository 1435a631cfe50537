"""The key-setting, profile and update dialogs: their skin files, sheets and masks."""
import os

import ini_writer
import palette as P
import widgets as Wd
import window_shape as WS
from canvas import font, mix, save_bmp, save_jpeg

# ------------------------------------------------------------------ key-setting dialog

COMPOSITE_SIZE = (560, 430)
INPUT_AREA = (16, 120, 528, 246)

COMPOSITE_BUTTONS = {
    "CONTROL_TITLE": (16, 10, 300, 34),
    "CONTROL_KEY": (16, 54, 126, 32),
    "CONTROL_MACRO": (146, 54, 126, 32),
    "CONTROL_MEDIA": (276, 54, 126, 32),
    "CONTROL_FUNCTION": (406, 54, 126, 32),
    "CONTROL_MASK": INPUT_AREA,
    "CONTROL_OSK": (346, 164, 44, 30),
    "CONTROL_CLEAR": (16, 382, 44, 32),
    "CONTROL2_APPLY": (264, 382, 88, 32),
    "CONTROL_OK": (358, 382, 88, 32),
    "CONTROL_CANCEL": (452, 382, 92, 32),
}
MACRO_BUTTONS = {
    "FUNC_MACRO_ADD": (316, 129, 28, 26),
    "FUNC_MACRO_DELETE": (348, 129, 28, 26),
    "FUNC_MACRO_RECORD": (270, 164, 120, 28),
    "FUNC_MACRO_DELETE2": (270, 198, 120, 28),
    "FUNC_MACRO_CLEAR": (270, 232, 120, 28),
    "FUNC_MACRO_UP_TOP": (400, 164, 120, 28),
    "FUNC_MACRO_UP": (400, 198, 120, 28),
    "FUNC_MACRO_DOWN": (400, 232, 120, 28),
    "FUNC_MACRO_DOWN_BOTTOM": (400, 266, 120, 28),
}
COMPOSITE_PLACES = {
    "KEY_SETTING": (20, 96, 520, 18),
    "TISHI_SINGLE_STATIC": (36, 140, 480, 18),
    "FUNC_KEY_INPUT": (36, 166, 300, 26),
    "MEDIA_SETTING_TISHI": (36, 140, 480, 18),
    "FUNC_MEDIA_SELECT": (36, 166, 300, 190),
    "FUNCTION_KEY_SETTING_TISHI": (36, 140, 480, 18),
    "FUNC_FUNCTION_SELECT": (36, 166, 300, 190),
    "MARCO_NAME_SETTING": (36, 134, 60, 18),
    "FUNC_MACRO_LIST2": (100, 130, 210, 200),
    "FUNC_MACRO_CYCLES_PROMPT": (388, 134, 74, 18),
    "FUNC_MACRO_CYCLES": (466, 131, 60, 22),
    "FUNC_MACRO_LIST": (36, 164, 222, 192),
    "FUNC_MACRO_RECORD_DELAY": (270, 308, 18, 18),
    "FUNC_MACRO_RECORD_DELAY2": (292, 308, 230, 18),
}
COMPOSITE_SETS = ("key", "macro", "macro2", "media", "function")
COMPOSITE_STATES = ("normal", "over", "down", "disable")
# Buttons that carry no caption from the program show an icon.
_ICONS = {"CONTROL_OSK": "keyboard", "CONTROL_CLEAR": "reset", "FUNC_MACRO_ADD": "plus",
          "FUNC_MACRO_DELETE": "minus"}
_TAB_NAMES = ("CONTROL_KEY", "CONTROL_MACRO", "CONTROL_MEDIA", "CONTROL_FUNCTION")


def _icon(cv, rect, icon, colour):
    x, y, w, h = rect
    cx, cy = x + w / 2, y + h / 2
    if icon == "plus":
        cv.line([(cx - 5, cy), (cx + 5, cy)], colour, 1.8)
        cv.line([(cx, cy - 5), (cx, cy + 5)], colour, 1.8)
    elif icon == "minus":
        cv.line([(cx - 5, cy), (cx + 5, cy)], colour, 1.8)
    elif icon == "keyboard":
        cv.rrect(cx - 11, cy - 7, 22, 14, 3, outline=colour, width=1.4)
        for row in range(2):
            for col in range(4):
                cv.rect(cx - 8 + col * 4.5, cy - 4 + row * 4, 2.4, 2.2, fill=colour)
        cv.rect(cx - 5, cy + 3.5, 10, 1.6, fill=colour)
    elif icon == "reset":
        import math
        pts = [(cx + 6 * math.cos(math.radians(a)), cy + 6 * math.sin(math.radians(a))) for a in range(-60, 230, 15)]
        cv.line(pts, colour, 1.6)
        ex, ey = pts[0]
        cv.polygon([(ex - 1, ey - 5), (ex + 4, ey + 1), (ex - 4, ey + 2)], fill=colour)


def _title(cv, rect, text, state):
    x, y, w, h = rect
    colour = P.TEXT_DIM if state == Wd.DISABLED else P.LEGEND
    cv.rrect(x + 2, y + 8, 20, 20, 5, outline=P.ACCENT if state != Wd.DISABLED else P.TEXT_DIM, width=1.5)
    cv.rect(x + 7, y + 13, 10, 2, fill=colour)
    cv.rect(x + 7, y + 17, 10, 2, fill=colour)
    cv.rect(x + 7, y + 21, 6, 2, fill=colour)
    cv.text(x + 32, y + 9, text, font("bold", 14), colour)


def _watermark(cv, kind):
    x, y, w, h = INPUT_AREA
    colour = mix(P.PANEL, P.PANEL_EDGE, 0.9)
    bx, by = x + w - 60, y + h - 42
    if kind == "key":
        cv.rrect(bx, by, 40, 32, 6, outline=colour, width=2)
        cv.text_centred(bx + 20, by + 16, "A", font("bold", 15), colour)
    elif kind in ("macro", "macro2"):
        cv.ellipse(bx + 6, by + 4, 24, 24, outline=colour, width=2)
        cv.ellipse(bx + 13, by + 11, 10, 10, fill=colour)
    elif kind == "media":
        cv.polygon([(bx + 10, by + 4), (bx + 32, by + 16), (bx + 10, by + 28)], outline=colour)
    else:
        cv.text_centred(bx + 20, by + 16, "Fn", font("bold", 16), colour)


def _composite_sheet(base, kind, state):
    cv = base.copy()
    x, y, w, h = INPUT_AREA
    WS.panel(cv, x, y, w, h)
    if kind:
        _watermark(cv, kind)
    if kind is None:
        return cv
    look = {"normal": Wd.NORMAL, "over": Wd.HOVER, "down": Wd.PRESSED, "disable": Wd.DISABLED}[state]
    # each set carries only the buttons that take their images from it
    if kind == "key":
        names = [n for n in COMPOSITE_BUTTONS if n != "CONTROL_MASK"]
    elif kind == "macro2":
        names = ["CONTROL_TITLE", "CONTROL_KEY", "CONTROL_MEDIA", "CONTROL_FUNCTION", "CONTROL_CLEAR"]
    else:
        names = []
    for name in names:
        rect = COMPOSITE_BUTTONS[name]
        if name == "CONTROL_TITLE":
            _title(cv, rect, "MACRO EDITOR" if kind == "macro2" else "KEY SETUP",
                   look if look == Wd.DISABLED else Wd.NORMAL)
            continue
        if name in _TAB_NAMES:
            _tab(cv, rect, look)
        else:
            Wd.push_button(cv, rect, look, primary=name == "CONTROL_OK")
        if name in _ICONS:
            _icon(cv, rect, _ICONS[name], P.TEXT_DIM if look == Wd.DISABLED else P.LEGEND)
    if kind == "macro":
        for name, rect in MACRO_BUTTONS.items():
            Wd.push_button(cv, rect, look, primary=name == "FUNC_MACRO_RECORD" and look == Wd.PRESSED)
            if name in _ICONS:
                _icon(cv, rect, _ICONS[name], P.TEXT_DIM if look == Wd.DISABLED else P.LEGEND)
            if name == "FUNC_MACRO_RECORD":
                rx, ry, rw, rh = rect
                cv.ellipse(rx + 9, ry + rh / 2 - 4, 8, 8, fill=P.DANGER if look != Wd.DISABLED else P.TEXT_DIM)
    return cv


def _tab(cv, rect, look):
    x, y, w, h = rect
    if look == Wd.PRESSED:      # the active tab
        cv.vgradient(x, y, w, h, mix(P.ACCENT_DEEP, P.PANEL, 0.4), P.PANEL, radius=8)
        cv.rrect(x, y, w, h, 8, outline=P.ACCENT, width=1)
        cv.rect(x + 12, y + h - 3, w - 24, 2, fill=P.ACCENT)
    else:
        Wd.push_button(cv, rect, look, radius=8)


def write_composite(skins):
    width, height = COMPOSITE_SIZE
    base = WS.dialog_background(width, height, "")
    save_jpeg(_composite_sheet(base, None, "normal").final(), os.path.join(skins, "composite_bg.jpg"))
    save_bmp(WS.mask(width, height, 18, 12), os.path.join(skins, "composite_mask.bmp"))
    for kind in COMPOSITE_SETS:
        for state in COMPOSITE_STATES:
            if state == "disable" and kind in ("key", "media", "function"):
                continue   # these sets use their normal sheet for the disabled look
            save_jpeg(_composite_sheet(base, kind, state).final(), os.path.join(skins, f"{kind}_{state}.jpg"))
    buttons = {**COMPOSITE_BUTTONS, **MACRO_BUTTONS, **COMPOSITE_PLACES}
    ini_writer.write(os.path.join(skins, "Composite.ini"), [
        ("SCREEN", [("Main", "composite_bg.jpg"), ("Mask", "composite_mask.bmp")]),
        ("BUTTONINFO", [(n, _placement(r)) for n, r in buttons.items()]),
    ])


# ------------------------------------------------------------------ profile dialog

PROFILE_SIZE = (460, 350)
PROFILE_BUTTONS = {
    "FUNC_ADD": (20, 258, 96, 30),
    "FUNC_LOAD": (122, 258, 96, 30),
    "FUNC_DELETE": (224, 258, 96, 30),
    "CONTROL_OK": (184, 304, 84, 30),
    "CONTROL_CANCEL": (274, 304, 84, 30),
    "CONTROL2_APPLY": (364, 304, 76, 30),
}
PROFILE_PLACES = {"PROGRAM_LIST": (20, 56, 420, 190)}


def write_profile(skins):
    width, height = PROFILE_SIZE
    base = WS.dialog_background(width, height, "PROFILES")
    x, y, w, h = PROFILE_PLACES["PROGRAM_LIST"]
    WS.inset_field(base, x - 2, y - 2, w + 4, h + 4)
    for state, look in (("normal", Wd.NORMAL), ("over", Wd.HOVER), ("down", Wd.PRESSED)):
        cv = base.copy()
        for name, rect in PROFILE_BUTTONS.items():
            Wd.push_button(cv, rect, look, primary=name == "CONTROL_OK")
        save_jpeg(cv.final(), os.path.join(skins, f"Profile_{state}.jpg"))
    save_bmp(WS.mask(width, height, 18, 12), os.path.join(skins, "profile_mask.bmp"))
    ini_writer.write(os.path.join(skins, "Profile.ini"), [
        ("SCREEN", [("Main", "Profile_normal.jpg"), ("Mask", "profile_mask.bmp")]),
        ("BUTTONINFO", [(n, _placement(r)) for n, r in {**PROFILE_BUTTONS, **PROFILE_PLACES}.items()]),
    ])


# ------------------------------------------------------------------ update and backup dialog

UPDATE_SIZE = (440, 230)
UPDATE_BUTTONS = {
    "CONTROL_OPENButton": (330, 60, 90, 28),
    "CONTROL_BACKUPButton": (20, 172, 120, 32),
    "CONTROL_UPButton": (200, 172, 100, 32),
    "CONTROL_CUPButton": (306, 172, 114, 32),
}
UPDATE_PLACES = {
    "CONTROL_UPStatic": (24, 64, 294, 20),
    "CONTROL_UPCombox": (20, 100, 300, 120),
}


def write_update(skins):
    width, height = UPDATE_SIZE
    base = WS.dialog_background(width, height, "FIRMWARE UPDATE & BACKUP")
    x, y, w, h = UPDATE_PLACES["CONTROL_UPStatic"]
    WS.inset_field(base, x - 4, y - 4, w + 8, h + 8)
    base.line([(20, 150), (420, 150)], P.PLATE_EDGE, 1)
    for state, look in (("normal", Wd.NORMAL), ("over", Wd.HOVER)):
        cv = base.copy()
        for name, rect in UPDATE_BUTTONS.items():
            Wd.push_button(cv, rect, look, primary=name == "CONTROL_UPButton")
        save_jpeg(cv.final(), os.path.join(skins, f"update_{state}.jpg"))
    save_bmp(WS.mask(width, height, 18, 12), os.path.join(skins, "update_mask.bmp"))
    ini_writer.write(os.path.join(skins, "UpdateDlg.ini"), [
        ("SCREEN", [("Main", "update_normal.jpg"), ("Mask", "update_mask.bmp")]),
        ("BUTTONINFO", [(n, _placement(r)) for n, r in {**UPDATE_BUTTONS, **UPDATE_PLACES}.items()]),
    ])


def _placement(rect):
    return ",".join(str(v) for v in rect)


def write(skins):
    write_composite(skins)
    write_profile(skins)
    write_update(skins)
