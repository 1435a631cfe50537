"""Checks the drawn skin as the program will read it.

    check_skin.py --dist <dist folder> --generated <generated folder>

Reads the INI files the way the platform's profile-string reader does (UTF-16 with a mark, names
without regard to letter case, matching quotes removed) and fails with a list of every fault.
"""
import argparse
import os
import re
import struct
import sys

from PIL import Image, ImageChops, ImageStat

# Key codes of the 104 key buttons of the main window; their skin names use the 8-bit fold.
KEY_BUTTON_CODES = [
    0x01E, 0x030, 0x02E, 0x020, 0x012, 0x021, 0x022, 0x023, 0x017, 0x024, 0x025, 0x026, 0x032,
    0x031, 0x018, 0x019, 0x010, 0x013, 0x01F, 0x014, 0x016, 0x02F, 0x011, 0x02D, 0x015, 0x02C,
    0x002, 0x003, 0x004, 0x005, 0x006, 0x007, 0x008, 0x009, 0x00A, 0x00B, 0x01C, 0x001, 0x00E,
    0x00F, 0x039, 0x00C, 0x00D, 0x01A, 0x01B, 0x02B, 0x027, 0x028, 0x029, 0x033, 0x034, 0x035,
    0x03B, 0x03C, 0x03D, 0x03E, 0x03F, 0x040, 0x041, 0x042, 0x043, 0x044, 0x057, 0x058, 0x137,
    0x045, 0x152, 0x153, 0x147, 0x14F, 0x149, 0x151, 0x148, 0x150, 0x14B, 0x14D, 0x046, 0x03A,
    0x15D, 0x01D, 0x11D, 0x02A, 0x036, 0x038, 0x138, 0x15B, 0x15C, 0x04F, 0x050, 0x051, 0x04B,
    0x04C, 0x04D, 0x047, 0x048, 0x049, 0x052, 0x145, 0x11C, 0x053, 0x135, 0x037, 0x04A, 0x04E,
]
KEY_NAMES = [f"KEY_{(c if c < 0x100 else c - 0x80) & 0xFF:03X}" for c in KEY_BUTTON_CODES]
G_NAMES = [f"FUNC_G{g}" for g in range(1, 10)]
MAIN_CONTROLS = [
    "KORVEL_LINK", "FUNC_PROFILES", "FUNC_MACRO", "CONTROL_OK", "CONTROL_CANCEL", "CONTROL_HELP",
    "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU", "CONTROL2_APPLY", "LOCK_CAPS", "LOCK_NUM",
    "LOCK_SCROLL", "LOCK_AB", "FLIP_0", "FLIP_1", "FLIP_2", "KORVEL_VER", "FUNC_PROFILE1",
    "FUNC_PROFILE2", "FUNC_PROFILE3", "FUNC_DEFAULT", "FUNC_SWITCH", "FUNC_REPORT1", "FUNC_REPORT2",
    "FUNC_REPORT3", "FUNC_REPORT4", "KEY_FN", "LEFT_ARROW", "RIGHT_ARROW", "FUNC_SCENE_MENU",
    "CONTROL_DengStatic", "CONTROL_DengStaPic", "CONTROL_XGcombox", "CONTROL_LightStatic",
    "CONTROL_LightSlider", "CONTROL_SpeedStatic", "CONTROL_SpeedSlider", "CONTROL_FYYSStatic",
    "CONTROL_FYYSButton", "CONTROL_FYSJSStaPic", "CONTROL_FYSJSStatic", "CONTROL_HXysStatic",
    "CONTROL_HXysButton", "CONTROL_HXsjsStaPic", "CONTROL_HXsjsStatic", "CONTROL_HONGPIC",
    "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC", "CONTROL_USERysStatic",
    "CONTROL_USERysButton", "CONTROL_USERjsStatic", "CONTROL_USERjsButton", "CONTROL_USERgjStatic",
    "CONTROL_USERgjStaPic1", "CONTROL_USERgjStaPic2", "CONTROL_umCombo", "CONTROL_UsbStatic",
    "CONTROL_JDTStatic", "CONTROL_JTysStatic", "CONTROL_JTysButton", "CONTROL_FYCFStatic",
    "CONTROL_FYdjcfStatic", "CONTROL_FYggcfStatc", "CONTROL_FYdjcfStaPic", "CONTROL_FYggcfStaPic",
    "CONTROL_TSysStatic", "CONTROL_TSysButton", "CONTROL_TSsjsStatic", "CONTROL_TSsjsStaPic",
    "CONTROL_CDysStatic", "CONTROL_CDysButton", "CONTROL_CDsjsStatic", "CONTROL_CDsjsStaPic",
    "CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic", "CONTROL_BLFXStatic2",
    "CONTROL_BLFXLStaPic2", "CONTROL_BLFXRStaPic2", "CONTROL_BLFXStatic3", "CONTROL_BLFXLStaPic3",
    "CONTROL_BLFXRStaPic3",
]
ARROW_VARIANTS = [f"{d}_ARROW_{s}{p}" for d in ("UP", "DOWN") for s in ("LEFT", "RIGHT") for p in (1, 2)]
DROP_DOWNS = {"CONTROL_XGcombox", "CONTROL_umCombo"}
MAIN_SHEETS = ["main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg",
               "main_color0.jpg", "main_color1.jpg"]
PANEL_BITMAPS = (
    ["dengup", "dengdown", "leftup", "leftdown", "rightup", "rightdown", "upup", "updown", "downup",
     "downdown", "kuosan", "kuosandown", "julong", "julongdown", "hong", "hongok", "huang", "huangok",
     "lv", "lvok", "lan", "lanok", "sjsup", "sjsdown", "user1up", "user1down", "user2up", "user2down"]
    + [f"jdt{i}" for i in range(1, 11)] + [str(i) for i in range(26)])
MODES = [m for m in range(1, 21) if m != 19]
# Panel controls that show a bitmap, with one of their bitmaps: the bitmap's corner must match the
# background it covers, since 24-bit bitmaps have no transparency.
BITMAP_CONTROLS = {
    "CONTROL_DengStaPic": "dengup", "CONTROL_LightSlider": "0", "CONTROL_SpeedSlider": "6",
    "CONTROL_BLFXLStaPic": "kuosan", "CONTROL_BLFXLStaPic2": "leftup", "CONTROL_BLFXLStaPic3": "upup",
    "CONTROL_FYSJSStaPic": "sjsup", "CONTROL_HXsjsStaPic": "sjsdown", "CONTROL_HONGPIC": "hong",
    "CONTROL_LANPIC": "lanok", "CONTROL_USERgjStaPic1": "user1up", "CONTROL_USERgjStaPic2": "user2down",
    "CONTROL_JDTStatic": "jdt1",
}

DIALOGS = {
    "Composite.ini": (
        ["CONTROL_OK", "CONTROL_CANCEL", "CONTROL_CLEAR", "CONTROL_KEY", "CONTROL_MACRO", "CONTROL_MEDIA",
         "CONTROL_FUNCTION", "CONTROL_MASK", "CONTROL_TITLE", "CONTROL_OSK", "FUNC_MACRO_ADD",
         "FUNC_MACRO_DELETE", "FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP", "FUNC_MACRO_DOWN",
         "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR", "FUNC_MACRO_RECORD",
         "FUNC_MACRO_RECORD_DELAY", "FUNC_MACRO_LIST2", "FUNC_MACRO_CYCLES", "FUNC_MACRO_CYCLES_PROMPT",
         "TISHI_SINGLE_STATIC", "MARCO_NAME_SETTING", "KEY_SETTING", "MEDIA_SETTING_TISHI",
         "FUNCTION_KEY_SETTING_TISHI", "FUNC_MACRO_RECORD_DELAY2", "FUNC_KEY_INPUT", "FUNC_MEDIA_SELECT",
         "FUNC_MACRO_LIST", "FUNC_FUNCTION_SELECT"],
        [f"{s}_{st}.jpg" for s in ("key", "macro", "macro2", "media", "function")
         for st in ("normal", "over", "down")] + ["macro_disable.jpg", "macro2_disable.jpg"]),
    "Profile.ini": (
        ["CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE", "CONTROL2_APPLY", "PROGRAM_LIST"],
        ["Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg"]),
    "UpdateDlg.ini": (
        ["CONTROL_UPStatic", "CONTROL_UPCombox", "CONTROL_OPENButton", "CONTROL_UPButton", "CONTROL_CUPButton",
         "CONTROL_BACKUPButton"],
        ["update_normal.jpg", "update_over.jpg"]),
}

LANGUAGE_KEYS = (
    "MACRO_ACTION_RECORD_DELAY MACRO_NEW_PREFIX MACRO_ERR_MAX MACRO_ERR_SAME MACRO_ERR_NAME_SYSTEM "
    "MACRO_DEFAULT_NAME MACRO_ERR_RECORD MACRO_KEYS_TISHI MACRO_ACTION_TISHI MACRO_DELAY_MS "
    "MACRO_ACTION_CLEAR_CONFIRM MACRO_ACTION_ERR_MODIFY MACRO_ACTION_ERR_DELAY_MIN "
    "MACRO_ACTION_ERR_DELAY_MAX MACRO_ACTION_RECORD MACRO_ACTION_STOP_RECORD EXTRA_MACRO_TOO_LONG "
    "UNKNOWN_KEY MEDIA_PALYER_1 MEDIA_PALY_PAUSE_2 MEDIA_STOP_PALY_3 MEDIA_PREV_TRACK_4 "
    "MEDIA_Next_TRACK_5 MEDIA_V_LOW_6 MEDIA_V_ADD_7 MEDIA_MUTE_8 MEDIA_WWW_HOME_9 MEDIA_WWW_REFRESH_10 "
    "MEDIA_WWW_STOP_11 MEDIA_WWW_BACK_12 MEDIA_WWW_FORWARD_13 MEDIA_WWW_FAVORITE_14 "
    "MEDIA_WWW_SEARCH_15 MEDIA_MY_PC_16 MEDIA_CALC_17 MEDIA_MAIL_18 "
    + " ".join(f"FUNC_KEY_DESC{i}" for i in range(1, 12)) +
    " APPLY_PROMPT MACRO_DELETE_CONFIRM_OF_KEYS KEY_PROMPT KEY_PROMPT_SET KEY_PROMPT_SINGLE "
    "KEY_PROMPT_MACRO KEY_PROMPT_MEDIA KEY_PROMPT_FUNCTION DEFAULT_PROFILE_NAME PROFILE_SELECT_PROMPT "
    "PROFILE_SEELCT_PROMPT2 PROFILE_SELECT_PROMPT3 PROFILE_LOAD_PROMPT PROFILE_CHECK_PROMPT "
    "PROFILE_FORMAT_ERROR PROFILE_NEW PROFILE_TIP PROFILE_EDITING EXTRA_PROFILE_SPACE_TIGHT "
    "MAIN_UPDATE_ERROR_TEXT MAIN_BOOT_ERROR_TEXT MAIN_SHELL_ERROR_TEXT MAIN_UPDATE_BACKUP_OK "
    "MAIN_UPDATE_BACKUP_NG KEYBOARD_TRAY_DESC MAIN_CAPTION MAIN_HELP_PROMPT MAIN_MINIMIZE_PROMPT "
    "MAIN_MENU_PROMPT MAIN_CLOSE_PROMPT MAIN_BUTTON_KORVEL_VER MAIN_PROMPT_DEFAULT MAIN_PROMPT_INPORT "
    "MAIN_SWITCH_FUNCTION_TEXT MAIN_SWITCH_COLOR_TEXT MAIN_DEFAULT_MATRIX_PROMPT MAIN_NO_DEVICE_PROMPT "
    "MACRO_KEY_UNSENDABLE KEYBOARD_READ_FAILED KEYBOARD_WRITE_FAILED KEYBOARD_READ_AGAIN "
    "EXTRA_PROFILE_ROW_NOT_ON_KEYBOARD EXTRA_PROFILE_FILE_NOT_CREATED "
    "PROFILE_1 PROFILE_2 PROFILE_3 PROFILE_MACRO PROFILE_DEFAULT PROFILE_OK PROFILE_CANCLE PROFILE_APPLY "
    "MENU_1 MENU_2 MENU_3 MENU_4 MENU_5 MENU_11 MENU_22 MENU_33 GUANYU_JIESHAO GUANYU_BANQUAN "
    "SINGLE_KEY MACRO_SETTING MULTI_MEDIA FUNCTION_KEY A_TOP A_UP A_DOWN A_BOTTOM A_RECORD A_DELETE "
    "A_CLEAR MACRO_OK MACRO_CANCLE MACRO_CYCLES RECORD_DELAY SINGLE_STATIC MACRO_NAME_SETTING "
    "KEY_SETTING_TISHI MACRO_EDIT_TISHI MEDIA_EDIT_TISHI FUNCTION_TISHI COMPOSITE_PROMPT_CLEAR "
    "COMPOSITE_PROMPT_OSK").split()

# English texts that the program shows with blanks or marks that must survive the file.
EXACT_ENGLISH = {
    "MACRO_ERR_MAX": "The maximum number of macro: %d   ",
    "KEY_PROMPT_SET": "Keys, Set: ",
    "UNKNOWN_KEY": "Unknown Key: %03x",
    "PROFILE_TIP": "The current contextual  mode: ",
    "PROFILE_NEW": "\\The new contextual  mode",
    "MAIN_NO_DEVICE_PROMPT": "Device is not detected\uff0cthe key settings can not be displayed! ",
    "MACRO_ACTION_RECORD_DELAY": "RecordDelay",
    "MENU_33": "Exit(&X)",
}


class Faults:
    def __init__(self):
        self.items = []

    def check(self, ok, message):
        if not ok:
            self.items.append(message)
        return ok


def read_ini(path):
    """section (lower case) -> {key (lower case): value}, as the profile-string reader sees it."""
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"\xff\xfe"):
        text = data[2:].decode("utf-16-le")
    else:
        text = data.decode("ascii")
    sections, current = {}, None
    for line in text.splitlines():
        stripped = line.strip()
        if stripped.startswith("[") and stripped.endswith("]"):
            current = sections.setdefault(stripped[1:-1].strip().lower(), {})
        elif "=" in stripped and current is not None and not stripped.startswith(";"):
            key, value = stripped.split("=", 1)
            value = value.strip()
            if len(value) >= 2 and value[0] == value[-1] and value[0] in "\"'":
                value = value[1:-1]
            current.setdefault(key.strip().lower(), value)
    return sections, data


def placement(value):
    """The four numbers as read with "%d,%d,%d,%d", or None."""
    m = re.match(r"\s*(-?\d+)\s*,\s*(-?\d+)\s*,\s*(-?\d+)\s*,\s*(-?\d+)", value)
    return tuple(int(v) for v in m.groups()) if m else None


def overlaps(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def inside(rect, size):
    x, y, w, h = rect
    return x >= 0 and y >= 0 and w > 0 and h > 0 and x + w <= size[0] and y + h <= size[1]


def check_placements(faults, file_name, buttons, names, size, skip_bounds=()):
    rects = {}
    for name in names:
        value = buttons.get(name.lower())
        if not faults.check(value is not None, f"{file_name}: BUTTONINFO has no {name}"):
            continue
        rect = placement(value)
        if not faults.check(rect is not None, f"{file_name}: {name}={value} is not x,y,w,h"):
            continue
        faults.check(rect[:2] != (1, 1), f"{file_name}: {name} at 1,1 would be disabled")
        if name not in skip_bounds:
            faults.check(inside(rect, size), f"{file_name}: {name} {rect} leaves the {size} background")
        rects[name] = rect
    return rects


def check_shape(faults, folder, screen, size_of_background, label):
    mask_path = os.path.join(folder, screen.get("mask", screen.get("main", "")))
    mask = Image.open(mask_path).convert("RGB")
    faults.check(mask.size == size_of_background, f"{label}: mask {mask.size} differs from background")
    w, h = mask.size
    faults.check(mask.getpixel((0, 0)) == (255, 255, 255), f"{label}: the mask keeps the cut corner")
    faults.check(mask.getpixel((w // 2, h // 2)) != (255, 255, 255), f"{label}: the mask cuts the centre away")
    colours = {c for _, c in mask.getcolors(1 << 20)}
    faults.check(colours <= {(0, 0, 0), (255, 255, 255)}, f"{label}: mask has colours other than black and white")


def check_main(faults, skins):
    sections, _ = read_ini(os.path.join(skins, "Main.ini"))
    screen, buttons = sections.get("screen", {}), sections.get("buttoninfo", {})
    background = Image.open(os.path.join(skins, screen.get("main", "missing")))
    size = background.size
    faults.check(900 <= size[0] <= 1200 and 560 <= size[1] <= 760, f"Main.ini: window size {size} does not suit 1280x800")
    faults.check(screen.get("link", "").startswith("https://"), "Main.ini: SCREEN/Link is not a web address")
    check_shape(faults, skins, screen, size, "Main.ini")

    key_names = KEY_NAMES + G_NAMES + ["KEY_FN"]
    faults.check(len(set(KEY_NAMES)) == 104, "key button names are not distinct")
    rects = check_placements(faults, "Main.ini", buttons, key_names + MAIN_CONTROLS, size, DROP_DOWNS)
    key_rects = [(n, rects[n]) for n in key_names if n in rects]
    for i, (na, a) in enumerate(key_rects):
        for nb, b in key_rects[i + 1:]:
            faults.check(not overlaps(a, b), f"Main.ini: keys {na} and {nb} overlap")
    # a key under another control would lose its clicks
    for name in MAIN_CONTROLS:
        if name in rects and name != "KEY_FN":
            for kn, kr in key_rects:
                faults.check(not overlaps(rects[name], kr), f"Main.ini: {name} covers key {kn}")

    sheets = {}
    for sheet in MAIN_SHEETS + ["Arrow.jpg"]:
        path = os.path.join(skins, sheet)
        if faults.check(os.path.exists(path), f"missing {sheet}"):
            image = Image.open(path)
            faults.check(image.format == "JPEG", f"{sheet} is not a JPEG")
            sheets[sheet] = image.convert("RGB")
    for sheet in MAIN_SHEETS:
        if sheet in sheets:
            faults.check(sheets[sheet].size == size, f"{sheet} is {sheets[sheet].size}, background {size}")
    check_sheet_differences(faults, sheets, rects, key_rects, size)

    for control, bitmap in BITMAP_CONTROLS.items():
        path = os.path.join(skins, bitmap + ".bmp")
        if control in rects and os.path.exists(path):
            picture = Image.open(path).convert("RGB")
            x, y, w, h = rects[control]
            faults.check(picture.size == (w, h), f"{bitmap}.bmp is {picture.size}, {control} is {w} x {h}")
            under = sheets.get("main_normal.jpg", background.convert("RGB")).getpixel((x, y))
            corner = picture.getpixel((0, 0))
            faults.check(max(abs(a - b) for a, b in zip(corner, under)) <= 6,
                         f"{bitmap}.bmp edge {corner} does not match the background {under} under {control}")

    variants = sections.get("buttoninfo2", {})
    arrow = sheets.get("Arrow.jpg")
    arrow_size = rects.get("LEFT_ARROW", (0, 0, 0, 0))[2:]
    for name in ARROW_VARIANTS:
        value = variants.get(name.lower())
        if faults.check(value is not None and placement(value), f"Main.ini: BUTTONINFO2 has no {name}") and arrow:
            x, y = placement(value)[:2]
            faults.check(inside((x, y) + tuple(arrow_size), arrow.size), f"Arrow.jpg: {name} lies outside the sheet")

    for section, column in (("mode", 0), ("mode1", 1)):
        names = sections.get(section, {})
        for mode in MODES:
            text = names.get(str(mode), "")
            faults.check(text not in ("", "1"), f"Main.ini: [{section}] does not name mode {mode}")
        faults.check("19" not in names, f"Main.ini: [{section}] names mode 19, which the program cannot write")
    for section in ("control_name", "control_name1"):
        for key in ("deng", "light", "speed", "fx", "color", "dc", "jcolor", "tool", "usb"):
            faults.check(sections.get(section, {}).get(key), f"Main.ini: [{section}] has no caption {key}")


def _diff_inside(a, b, rect):
    box = (rect[0], rect[1], rect[0] + rect[2], rect[1] + rect[3])
    return ImageStat.Stat(ImageChops.difference(a.crop(box), b.crop(box))).mean


def check_sheet_differences(faults, sheets, rects, key_rects, size):
    """Key looks differ where they should and the sheets agree everywhere else."""
    if len([s for s in MAIN_SHEETS if s in sheets]) < len(MAIN_SHEETS):
        return
    normal = sheets["main_normal.jpg"]
    pairs = [("main_over.jpg", "main_normal.jpg"), ("main_down.jpg", "main_normal.jpg"),
             ("main_down.jpg", "main_over.jpg"), ("main_disable.jpg", "main_normal.jpg"),
             ("main_color0.jpg", "main_color1.jpg"), ("main_color0.jpg", "main_normal.jpg"),
             ("main_color1.jpg", "main_normal.jpg")]
    for name, rect in key_rects:
        for a, b in pairs:
            faults.check(max(_diff_inside(sheets[a], sheets[b], rect)) > 6,
                         f"{a} and {b} look the same on {name}")
    # Outside every control the sheets must match the background, or cut images show seams.
    outside = Image.new("L", size, 255)
    for rect in rects.values():
        x, y, w, h = rect
        outside.paste(0, (max(0, x - 8), max(0, y - 8), x + w + 8, y + h + 8))
    for sheet in MAIN_SHEETS[1:]:
        diff = ImageChops.difference(sheets[sheet], normal).convert("L")
        worst = ImageStat.Stat(diff, outside).extrema[0][1]
        faults.check(worst <= 12, f"{sheet} differs from main_normal.jpg outside the controls (by {worst})")


def check_dialogs(faults, skins):
    for file_name, (names, sheets) in DIALOGS.items():
        sections, _ = read_ini(os.path.join(skins, file_name))
        screen = sections.get("screen", {})
        main_path = os.path.join(skins, screen.get("main", "missing"))
        if not faults.check(os.path.exists(main_path), f"{file_name}: SCREEN/Main is missing"):
            continue
        size = Image.open(main_path).size
        check_shape(faults, skins, screen, size, file_name)
        drop_downs = {"FUNC_MACRO_LIST2", "CONTROL_UPCombox"}
        check_placements(faults, file_name, sections.get("buttoninfo", {}), names, size, drop_downs)
        for sheet in sheets:
            path = os.path.join(skins, sheet)
            if faults.check(os.path.exists(path), f"{file_name}: missing sheet {sheet}"):
                faults.check(Image.open(path).size == size, f"{sheet} differs in size from its dialog")


def check_bitmaps(faults, skins):
    for name in PANEL_BITMAPS:
        path = os.path.join(skins, name + ".bmp")
        if not faults.check(os.path.exists(path), f"missing panel bitmap {name}.bmp"):
            continue
        with open(path, "rb") as f:
            header = f.read(30)
        faults.check(header[:2] == b"BM" and struct.unpack_from("<H", header, 28)[0] == 24,
                     f"{name}.bmp is not a 24-bit bitmap")
    for a, b in (("dengup", "dengdown"), ("sjsup", "sjsdown"), ("hong", "hongok"), ("user1up", "user1down"),
                 ("0", "5"), ("jdt1", "jdt2")):
        pa, pb = (os.path.join(skins, n + ".bmp") for n in (a, b))
        if os.path.exists(pa) and os.path.exists(pb):
            ia, ib = Image.open(pa).convert("RGB"), Image.open(pb).convert("RGB")
            faults.check(ia.size == ib.size and ImageChops.difference(ia, ib).getbbox() is not None,
                         f"{a}.bmp and {b}.bmp should show two states")


def specifiers(text):
    return sorted(re.findall(r"%[-0-9.]*[dsxXu]", text))


def check_language(faults, skins):
    sections, data = read_ini(os.path.join(skins, "language.ini"))
    faults.check(data.startswith(b"\xff\xfe"), "language.ini is not UTF-16 LE with a byte-order mark")
    faults.check(sections.get("language", {}).get("language") == "1", "language.ini: language is not 1")
    english, chinese = sections.get("enginsh", {}), sections.get("chinese", {})
    for key in LANGUAGE_KEYS:
        for label, table in (("ENGINSH", english), ("CHINESE", chinese)):
            faults.check(table.get(key.lower(), "").strip() != "", f"language.ini: {label} has no text for {key}")
        if key.lower() in english and key.lower() in chinese:
            faults.check(specifiers(english[key.lower()]) == specifiers(chinese[key.lower()]),
                         f"language.ini: {key} has different format specifiers in the two languages")
    faults.check(set(english) == set(chinese), "language.ini: the two sections hold different keys: "
                 + ", ".join(sorted(set(english) ^ set(chinese))))
    for key, text in EXACT_ENGLISH.items():
        faults.check(english.get(key.lower()) == text, f"language.ini: ENGINSH {key} is {english.get(key.lower())!r}")
    han = re.compile(r"[\u4e00-\u9fff]")
    untranslated = [k for k in LANGUAGE_KEYS if k.lower() in chinese and not han.search(chinese[k.lower()])
                    and k not in ("MACRO_ACTION_RECORD_DELAY", "KEYBOARD_TRAY_DESC", "UNKNOWN_KEY")]
    faults.check(len(untranslated) <= 3, f"language.ini: CHINESE texts without Chinese: {untranslated}")
    faults.check(all(len(v) <= 259 for v in list(english.values()) + list(chinese.values())),
                 "language.ini: a text is longer than the 259 characters the program reads")


def check_colour_template(faults, skins):
    sections, _ = read_ini(os.path.join(skins, "UserDengColor_3.userd"))
    names = sections.get("modename", {})
    faults.check(all(names.get(str(i)) for i in range(10)), "UserDengColor_3.userd: a slot has no name")
    for slot in range(10):
        keys = sections.get(f"mode{slot}", {})
        for key in ("tool", "jcolor", "color"):
            faults.check(key in keys, f"UserDengColor_3.userd: Mode{slot} has no {key}")
        colours = [v for k, v in keys.items() if k.isdigit()]
        faults.check(len(colours) == 105, f"UserDengColor_3.userd: Mode{slot} colours {len(colours)} keys, not 105")
        for value in colours:
            parts = value.split(",")
            faults.check(len(parts) == 4 and all(p.isdigit() and int(p) <= 255 for p in parts[:3]),
                         f"UserDengColor_3.userd: Mode{slot} value {value} is not R,G,B,f")


def read_ico(path):
    with open(path, "rb") as f:
        data = f.read()
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    entries = []
    for i in range(count):
        w, h, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        header_size, _, _, _, dib_bits = struct.unpack_from("<IiiHH", data, offset)
        entries.append((w or 256, h or 256, bits, header_size, dib_bits))
    return kind, entries


def check_icons(faults, generated):
    smalls = {}
    for icon_id in (128, 141, 142):
        path = os.path.join(generated, "icons", f"icon_{icon_id}.ico")
        if not faults.check(os.path.exists(path), f"missing icon_{icon_id}.ico"):
            continue
        kind, entries = read_ico(path)
        faults.check(kind == 1, f"icon_{icon_id}.ico is not an icon file")
        faults.check(sorted(e[0] for e in entries) == [16, 32, 48], f"icon_{icon_id}.ico sizes {entries}")
        faults.check(all(e[2] == 32 and e[3] == 40 and e[4] == 32 for e in entries),
                     f"icon_{icon_id}.ico entries are not 32-bit bitmaps")
        image = Image.open(path)
        image.size = (16, 16)
        smalls[icon_id] = image.convert("RGBA").resize((16, 16))
    ids = sorted(smalls)
    for i, a in enumerate(ids):
        for b in ids[i + 1:]:
            mean = ImageStat.Stat(ImageChops.difference(smalls[a], smalls[b]).convert("RGB")).mean
            faults.check(sum(mean) / 3 > 20, f"icons {a} and {b} look alike at 16 x 16")


def check_help(faults, dist):
    path = os.path.join(dist, "Help", "index.html")
    if not faults.check(os.path.exists(path), "missing Help/index.html"):
        return
    with open(path, encoding="utf-8") as f:
        page = f.read().lower()
    faults.check("<script" not in page, "the help page runs scripts")
    faults.check(not re.search(r"(src|href)\s*=\s*\"(https?:)?//", page), "the help page loads from the net")
    for topic in ("macro", "lighting", "profile", "import", "export", "tray", "g key", "bank"):
        faults.check(topic in page, f"the help page does not explain {topic}")
    faults.check(os.path.isdir(os.path.join(dist, "Package")), "missing Package folder")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", required=True)
    parser.add_argument("--generated", required=True)
    args = parser.parse_args()
    skins = os.path.join(args.dist, "Skins")
    faults = Faults()
    for step in (lambda: check_main(faults, skins), lambda: check_dialogs(faults, skins),
                 lambda: check_bitmaps(faults, skins), lambda: check_language(faults, skins),
                 lambda: check_colour_template(faults, skins), lambda: check_icons(faults, args.generated),
                 lambda: check_help(faults, args.dist)):
        try:
            step()
        except (OSError, KeyError, ValueError, SyntaxError) as error:
            faults.items.append(f"cannot read the skin: {error!r}")
    for item in faults.items:
        print("FAULT:", item)
    print("skin check:", "failed" if faults.items else "passed")
    return 1 if faults.items else 0


if __name__ == "__main__":
    sys.exit(main())
