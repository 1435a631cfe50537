"""The main window: its shape, background, state sheets, arrow sheet and Main.ini."""
import os

import ini_writer
import keyboard_layout as KL
import palette as P
import widgets as Wd
import window_shape
from canvas import Canvas, font, mix, save_bmp, save_jpeg

WIDTH, HEIGHT = 1040, 640
UNIT = 37
CHAMFER = 24
CORNER = 14

PLATE_RECT = (20, 102, 1000, 290)
PANEL_RECT = (20, 402, 1000, 166)
BAR_Y = 580
KB_X = PLATE_RECT[0] + (PLATE_RECT[2] - round(KL.COLUMNS * UNIT)) // 2
KB_Y = 140

LINK = "https://corvasse.example/vendrel"


def _unit_rect(ux, uy, uw, uh):
    x0 = round(KB_X + ux * UNIT)
    y0 = round(KB_Y + uy * UNIT)
    x1 = round(KB_X + (ux + uw) * UNIT)
    y1 = round(KB_Y + (uy + uh) * UNIT)
    return (x0 + 1, y0 + 1, x1 - x0 - 2, y1 - y0 - 2)


def key_rects():
    """BUTTONINFO name -> (rect, key) for the key buttons, Fn and the G keys."""
    return {k.name: (_unit_rect(k.x, k.y, k.w, k.h), k) for k in KL.keyboard_keys()}


def _flip_strip():
    x = round(KB_X + (KL.MAIN + 2) * UNIT) + 1
    y = KB_Y - 24
    return {
        "LEFT_ARROW": (x, y, 18, 18),
        "FLIP_1": (x + 20, y, 30, 18),
        "FLIP_0": (x + 52, y, 42, 18),
        "FLIP_2": (x + 96, y, 30, 18),
        "RIGHT_ARROW": (x + 128, y, 18, 18),
    }


def _indicators():
    pad_x = KB_X + KL.PAD * UNIT
    y = KB_Y + 7
    rects = {}
    for i, name in enumerate(("LOCK_NUM", "LOCK_CAPS", "LOCK_SCROLL")):
        rects[name] = (round(pad_x + i * UNIT) + 1, y, UNIT - 2, 20)
    rects["LOCK_AB"] = (KB_X + 1, KB_Y + 2, round(3 * UNIT) - 2, UNIT - 6)
    return rects


# Controls of the window other than keys: name -> rect. Panel controls whose pictures are panel
# bitmaps or program-drawn controls sit on the flat panel colour.
HEADER_BUTTONS = {
    "CONTROL_HELP": (882, 14, 30, 30),
    "CONTROL_MENU": (916, 14, 30, 30),
    "CONTROL_MINIMIZE": (950, 14, 30, 30),
    "CONTROL_CLOSE": (984, 14, 30, 30),
}
TOOLBAR = {
    "FUNC_PROFILE1": (20, 60, 104, 32),
    "FUNC_PROFILE2": (130, 60, 104, 32),
    "FUNC_PROFILE3": (240, 60, 104, 32),
    "FUNC_PROFILES": (362, 60, 170, 32),
    "FUNC_SCENE_MENU": (534, 60, 28, 32),
    "FUNC_MACRO": (580, 60, 130, 32),
    "FUNC_SWITCH": (770, 60, 250, 32),
}
BOTTOM = {
    "KORVEL_LINK": (30, 598, 250, 18),
    "KORVEL_VER": (292, 600, 150, 16),
    "CONTROL_JDTStatic": (462, 602, 140, 12),
    "FUNC_DEFAULT": (626, 592, 110, 32),
    "CONTROL_OK": (746, 592, 84, 32),
    "CONTROL_CANCEL": (838, 592, 84, 32),
    "CONTROL2_APPLY": (930, 592, 90, 32),
}
REPORT = {f"FUNC_REPORT{i + 1}": (744 + i * 68, 414, 64, 28) for i in range(4)}
REPORT_CAPTIONS = ("125 Hz", "250 Hz", "500 Hz", "1000 Hz")

_ROW_A, _ROW_B, _ROW_C, _ROW_D = 414, 458, 500, 540
PANEL = {
    "CONTROL_DengStatic": (40, _ROW_A + 5, 84, 18),
    "CONTROL_DengStaPic": (128, _ROW_A + 1, 52, 26),
    "CONTROL_XGcombox": (200, _ROW_A + 2, 210, 260),
    "CONTROL_UsbStatic": (630, _ROW_A + 5, 108, 18),
    "CONTROL_LightStatic": (40, _ROW_B + 3, 84, 18),
    "CONTROL_LightSlider": (128, _ROW_B, 160, 22),
    "CONTROL_SpeedStatic": (312, _ROW_B + 3, 70, 18),
    "CONTROL_SpeedSlider": (386, _ROW_B, 160, 22),
    # the three direction layouts share one place: only one set is shown at a time
    "CONTROL_BLFXStatic": (572, _ROW_B + 3, 80, 18),
    "CONTROL_BLFXLStaPic": (656, _ROW_B - 1, 34, 24),
    "CONTROL_BLFXRStaPic": (694, _ROW_B - 1, 34, 24),
    "CONTROL_BLFXStatic2": (572, _ROW_B + 3, 80, 18),
    "CONTROL_BLFXLStaPic2": (656, _ROW_B - 1, 34, 24),
    "CONTROL_BLFXRStaPic2": (694, _ROW_B - 1, 34, 24),
    "CONTROL_BLFXStatic3": (572, _ROW_B + 3, 80, 18),
    "CONTROL_BLFXLStaPic3": (656, _ROW_B - 1, 34, 24),
    "CONTROL_BLFXRStaPic3": (694, _ROW_B - 1, 34, 24),
    # colour groups A and B belong to different modes and share one place
    "CONTROL_FYYSStatic": (40, _ROW_C + 3, 84, 18),
    "CONTROL_FYYSButton": (128, _ROW_C, 96, 24),
    "CONTROL_FYSJSStaPic": (240, _ROW_C + 2, 40, 20),
    "CONTROL_FYSJSStatic": (286, _ROW_C + 3, 150, 18),
    "CONTROL_HXysStatic": (40, _ROW_C + 3, 84, 18),
    "CONTROL_HXysButton": (128, _ROW_C, 96, 24),
    "CONTROL_HXsjsStaPic": (240, _ROW_C + 2, 40, 20),
    "CONTROL_HXsjsStatic": (286, _ROW_C + 3, 150, 18),
    "CONTROL_HONGPIC": (128, _ROW_C - 1, 26, 26),
    "CONTROL_HUANGPIC": (162, _ROW_C - 1, 26, 26),
    "CONTROL_LVPIC": (196, _ROW_C - 1, 26, 26),
    "CONTROL_LANPIC": (230, _ROW_C - 1, 26, 26),
    # per-key colour slot controls (user-defined mode)
    "CONTROL_USERysStatic": (40, _ROW_C + 3, 84, 18),
    "CONTROL_USERysButton": (128, _ROW_C, 96, 24),
    "CONTROL_USERjsStatic": (244, _ROW_C + 3, 84, 18),
    "CONTROL_USERjsButton": (332, _ROW_C, 96, 24),
    "CONTROL_USERgjStatic": (448, _ROW_C + 3, 60, 18),
    "CONTROL_USERgjStaPic1": (512, _ROW_C - 1, 30, 26),
    "CONTROL_USERgjStaPic2": (546, _ROW_C - 1, 30, 26),
    "CONTROL_umCombo": (600, _ROW_C, 190, 220),
    # kept hidden by the program; placed inside the panel all the same
    "CONTROL_JTysStatic": (40, _ROW_D + 3, 84, 18),
    "CONTROL_JTysButton": (128, _ROW_D, 96, 24),
    "CONTROL_FYCFStatic": (244, _ROW_D + 3, 84, 18),
    "CONTROL_FYdjcfStatic": (332, _ROW_D + 3, 70, 18),
    "CONTROL_FYggcfStatc": (430, _ROW_D + 3, 70, 18),
    "CONTROL_FYdjcfStaPic": (406, _ROW_D + 2, 20, 20),
    "CONTROL_FYggcfStaPic": (504, _ROW_D + 2, 20, 20),
    "CONTROL_TSysStatic": (540, _ROW_D + 3, 60, 18),
    "CONTROL_TSysButton": (604, _ROW_D, 70, 24),
    "CONTROL_TSsjsStatic": (704, _ROW_D + 3, 50, 18),
    "CONTROL_TSsjsStaPic": (680, _ROW_D + 2, 20, 20),
    "CONTROL_CDysStatic": (760, _ROW_D + 3, 60, 18),
    "CONTROL_CDysButton": (824, _ROW_D, 70, 24),
    "CONTROL_CDsjsStatic": (924, _ROW_D + 3, 60, 18),
    "CONTROL_CDsjsStaPic": (900, _ROW_D + 2, 20, 20),
}
# Drop-down lists: their height is that of the opened list, which may reach past the panel.
DROP_DOWNS = ("CONTROL_XGcombox", "CONTROL_umCombo")

# Arrow variants in Arrow.jpg: BUTTONINFO2 name -> corner; each is as large as the arrow control.
ARROW_SIZE = (18, 18)
ARROW_SHEET = (2 + 4 * 22, 2 + 2 * 22)
ARROW_VARIANTS = {}
for _row, _dir in enumerate(("UP", "DOWN")):
    for _col, (_side, _phase) in enumerate(((s, p) for s in ("LEFT", "RIGHT") for p in (1, 2))):
        ARROW_VARIANTS[f"{_dir}_ARROW_{_side}{_phase}"] = (2 + _col * 22, 2 + _row * 22)

# Lighting mode names: Chinese (language 0) and English (language 1). Mode 19 is not named, so
# the program never offers it.
MODE_NAMES = {
    1: ("波浪", "Wave"), 2: ("流光", "Flow"), 3: ("跑马灯", "Marquee"), 4: ("光谱循环", "Spectrum cycle"),
    5: ("呼吸", "Breathing"), 6: ("常亮", "Static"), 7: ("涟漪", "Ripple"), 8: ("星光", "Starlight"),
    9: ("雨滴", "Raindrops"), 10: ("贪吃蛇", "Snake"), 11: ("彩虹", "Rainbow"), 12: ("瀑布", "Waterfall"),
    13: ("按键触发", "Reactive"), 14: ("烟花", "Fireworks"), 15: ("心跳", "Heartbeat"),
    16: ("按键亮起", "Keystroke glow"), 17: ("预设颜色", "Preset colors"), 18: ("扩散", "Radiate"),
    20: ("自定义", "Custom per key"),
}
CAPTIONS = {
    "Deng": ("灯光", "Lighting"), "Light": ("亮度", "Brightness"), "Speed": ("速度", "Speed"),
    "FX": ("方向", "Direction"), "Color": ("颜色", "Color"), "DC": ("多彩", "Multicolor"),
    "JColor": ("底色", "Base color"), "Tool": ("工具", "Tool"), "Usb": ("回报率", "Report rate"),
}


def all_rects():
    rects = {name: rect for name, (rect, _) in key_rects().items()}
    for group in (HEADER_BUTTONS, TOOLBAR, BOTTOM, REPORT, PANEL, _flip_strip(), _indicators()):
        rects.update(group)
    return rects


# ---------------------------------------------------------------- pictures

def mask_image():
    return window_shape.mask(WIDTH, HEIGHT, CHAMFER, CORNER)


def _background():
    cv = Canvas(WIDTH, HEIGHT, P.WINDOW_BOTTOM)
    cv.vgradient(0, 0, WIDTH, HEIGHT, P.WINDOW_TOP, P.WINDOW_BOTTOM)
    # header: brand and a thin accent rule
    cv.polygon([(0, 0), (300, 0), (286, 6), (0, 6)], fill=P.ACCENT_DARK)
    cv.text(34, 10, "CORVASSE", font("condensed_bold", 9), P.TEXT_DIM)
    cv.text(32, 21, "VENDREL", font("bold", 19), P.LEGEND)
    cv.rect(34, 46, 28, 2, fill=P.ACCENT)
    cv.text(142, 28, "GAMING KEYBOARD", font("condensed", 9), P.TEXT_DIM)
    for i in range(14):   # faint diagonal texture in the header
        x = 420 + i * 26
        cv.line([(x, 48), (x + 36, 12)], mix(P.WINDOW_TOP, P.EDGE, 0.35), 1)
    # keyboard plate
    x, y, w, h = PLATE_RECT
    cv.rrect(x, y, w, h, 12, fill=P.PLATE, outline=P.PLATE_EDGE, width=1)
    # G-key emblem under the G keys
    gx, gy = KB_X + 2, round(KB_Y + 4.35 * UNIT) + 2
    gw, gh = round(3 * UNIT) - 4, round(2 * UNIT) - 4
    cv.rrect(gx, gy, gw, gh, 10, outline=P.PLATE_EDGE, width=1)
    cv.text_centred(gx + gw / 2, gy + gh / 2 - 8, "G", font("bold", 24), mix(P.PLATE_EDGE, P.ACCENT, 0.45))
    cv.text_centred(gx + gw / 2, gy + gh / 2 + 16, "MACRO KEYS", font("condensed_bold", 8), P.TEXT_DIM)
    # logo in the free cell beside the lock lights
    lx = KB_X + (KL.PAD + 3) * UNIT + UNIT / 2
    cv.polygon([(lx - 8, KB_Y + 17), (lx, KB_Y + 9), (lx + 8, KB_Y + 17), (lx, KB_Y + 25)],
               outline=P.ACCENT_DEEP)
    # lighting panel card (flat inside: panel bitmaps sit on it)
    x, y, w, h = PANEL_RECT
    cv.rrect(x, y, w, h, 12, fill=P.PANEL, outline=P.PANEL_EDGE, width=1)
    cv.rect(x + 1, y + 14, 3, 22, fill=P.ACCENT)
    cv.line([(x + 16, _ROW_B - 9), (x + w - 16, _ROW_B - 9)], mix(P.PANEL, P.PANEL_EDGE, 0.6), 1)
    # bottom bar: flat, because the progress frames are drawn on its colour
    cv.rect(0, BAR_Y, WIDTH, HEIGHT - BAR_Y, fill=P.BAR)
    cv.line([(20, BAR_Y), (WIDTH - 20, BAR_Y)], P.PLATE_EDGE, 1)
    # window edge
    window_shape.draw_edge(cv, CHAMFER, CORNER)
    return cv


def _draw_controls(cv, sheet):
    """Draws every control of the window as it looks on `sheet`."""
    key_state = {"normal": Wd.NORMAL, "over": Wd.HOVER, "down": Wd.PRESSED, "disable": Wd.SET,
                 "color0": Wd.COLOUR_OFF, "color1": Wd.COLOUR_ON}[sheet]
    for name, (rect, key) in key_rects().items():
        Wd.key_cap(cv, rect, key.legend, key.sub, key_state)

    button_state = {"over": Wd.HOVER, "down": Wd.PRESSED}.get(sheet, Wd.NORMAL)
    for name, rect in HEADER_BUTTONS.items():
        Wd.icon_button(cv, rect, button_state, name.split("_")[1].lower(), danger=name == "CONTROL_CLOSE")
    # buttons whose selected (checked) slot shows the disabled sheet
    checkable = ("FUNC_PROFILE1", "FUNC_PROFILE2", "FUNC_PROFILE3", "FUNC_SWITCH", "FUNC_DEFAULT")
    for name, rect in list(TOOLBAR.items()) + [(n, BOTTOM[n]) for n in
                                               ("FUNC_DEFAULT", "CONTROL_OK", "CONTROL_CANCEL", "CONTROL2_APPLY")]:
        state = button_state
        if sheet == "disable":
            state = Wd.SELECTED if name in checkable else (Wd.DISABLED if name == "CONTROL2_APPLY" else Wd.NORMAL)
        Wd.push_button(cv, rect, state, primary=name == "CONTROL2_APPLY")
        if name == "FUNC_SCENE_MENU":
            x, y, w, h = rect
            cx = x + w / 2
            cv.polygon([(cx - 4, y + h / 2 - 2), (cx + 4, y + h / 2 - 2), (cx, y + h / 2 + 3)],
                       fill=P.LEGEND_DIM)
    for (name, rect), caption in zip(REPORT.items(), REPORT_CAPTIONS):
        state = Wd.SELECTED if sheet == "disable" else button_state
        Wd.caption_button(cv, rect, state, caption)

    for name, rect in _indicators().items():
        if name == "LOCK_AB":
            Wd.bank_indicator(cv, rect, 1 if sheet == "over" else 0)
        else:
            Wd.indicator(cv, rect, {"LOCK_NUM": "NUM", "LOCK_CAPS": "CAPS", "LOCK_SCROLL": "SCRL"}[name],
                         lit=sheet == "over")
    strip = _flip_strip()
    Wd.flip_plate(cv, strip["FLIP_0"], lit=sheet == "disable")
    for name in ("FLIP_1", "FLIP_2"):   # their selected slot shows the disabled sheet
        Wd.flip_button(cv, strip[name], Wd.PRESSED if sheet == "disable" else button_state)


SHEETS = ("normal", "over", "down", "disable", "color0", "color1")


def arrow_sheet():
    cv = Canvas(*ARROW_SHEET, P.PLATE)
    w, h = ARROW_SIZE
    for name, (x, y) in ARROW_VARIANTS.items():
        up = name.startswith("UP")
        bright = name.endswith("2")
        colour = P.ACCENT if bright else P.LEGEND_DIM
        cx, cy = x + w / 2, y + h / 2
        if bright:
            cv.ellipse(x + 1, y + 1, w - 2, h - 2, fill=mix(P.PLATE, P.ACCENT, 0.18))
        d = -1 if up else 1
        cv.polygon([(cx - 5, cy - 3 * d), (cx + 5, cy - 3 * d), (cx, cy + 4 * d)], fill=colour)
    return cv.final()


def write(skins):
    base = _background()
    for sheet in SHEETS:
        cv = base.copy()
        _draw_controls(cv, sheet)
        save_jpeg(cv.final(), os.path.join(skins, f"main_{sheet}.jpg"))
    save_bmp(mask_image(), os.path.join(skins, "main_mask.bmp"))
    save_jpeg(arrow_sheet(), os.path.join(skins, "Arrow.jpg"))
    ini_writer.write(os.path.join(skins, "Main.ini"), ini_sections())


def _placement(rect):
    x, y, w, h = rect
    return f"{x},{y},{w},{h}"


def ini_sections():
    buttons = [(name, _placement(rect)) for name, rect in all_rects().items()]
    variants = [(name, f"{x},{y},{ARROW_SIZE[0]},{ARROW_SIZE[1]}") for name, (x, y) in ARROW_VARIANTS.items()]
    return [
        ("SCREEN", [("Main", "main_normal.jpg"), ("Mask", "main_mask.bmp"), ("Link", LINK)]),
        ("BUTTONINFO", buttons),
        ("BUTTONINFO2", variants),
        ("Mode", [(str(m), names[0]) for m, names in MODE_NAMES.items()]),
        ("Mode1", [(str(m), names[1]) for m, names in MODE_NAMES.items()]),
        ("Control_Name", [(k, v[0]) for k, v in CAPTIONS.items()]),
        ("Control_Name1", [(k, v[1]) for k, v in CAPTIONS.items()]),
    ]
