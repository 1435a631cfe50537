"""Where every key of the keyboard picture sits.

Positions are in key units (U) inside three blocks: the G-key block at the left, then the main
block, navigation cluster and numeric keypad. Each key's skin name is KEY_ and its key slot in three
upper-case hexadecimal digits: the 8-bit fold of its key code (codes from 0x100 lose 0x80).
"""
from dataclasses import dataclass


def key_slot(code):
    return code if code < 0x100 else (code - 0x80) & 0xFF


@dataclass(frozen=True)
class Key:
    name: str        # BUTTONINFO key
    legend: str      # main legend
    sub: str         # secondary legend (shifted symbol), may be empty
    x: float         # in units, relative to the keyboard origin
    y: float
    w: float = 1.0
    h: float = 1.0


# Column origins of the blocks, in units from the keyboard origin.
G_BLOCK = 0.0
MAIN = 3.5
NAV = MAIN + 15.25
PAD = MAIN + 18.5
FROW_GAP = 0.35          # extra space between the function row and the number row
COLUMNS = PAD + 4.0      # total width in units


def _row_y(row):
    return 0.0 if row == 0 else row + FROW_GAP


# (code, legend, sub, row, x in units from MAIN, width, height)
_MAIN_KEYS = [
    # function row
    (0x001, "Esc", "", 0, 0, 1),
    (0x03B, "F1", "", 0, 2, 1), (0x03C, "F2", "", 0, 3, 1), (0x03D, "F3", "", 0, 4, 1),
    (0x03E, "F4", "", 0, 5, 1), (0x03F, "F5", "", 0, 6.5, 1), (0x040, "F6", "", 0, 7.5, 1),
    (0x041, "F7", "", 0, 8.5, 1), (0x042, "F8", "", 0, 9.5, 1), (0x043, "F9", "", 0, 11, 1),
    (0x044, "F10", "", 0, 12, 1), (0x057, "F11", "", 0, 13, 1), (0x058, "F12", "", 0, 14, 1),
    # number row
    (0x029, "`", "~", 1, 0, 1), (0x002, "1", "!", 1, 1, 1), (0x003, "2", "@", 1, 2, 1),
    (0x004, "3", "#", 1, 3, 1), (0x005, "4", "$", 1, 4, 1), (0x006, "5", "%", 1, 5, 1),
    (0x007, "6", "^", 1, 6, 1), (0x008, "7", "&", 1, 7, 1), (0x009, "8", "*", 1, 8, 1),
    (0x00A, "9", "(", 1, 9, 1), (0x00B, "0", ")", 1, 10, 1), (0x00C, "-", "_", 1, 11, 1),
    (0x00D, "=", "+", 1, 12, 1), (0x00E, "Backspace", "", 1, 13, 2),
    # top letter row
    (0x00F, "Tab", "", 2, 0, 1.5), (0x010, "Q", "", 2, 1.5, 1), (0x011, "W", "", 2, 2.5, 1),
    (0x012, "E", "", 2, 3.5, 1), (0x013, "R", "", 2, 4.5, 1), (0x014, "T", "", 2, 5.5, 1),
    (0x015, "Y", "", 2, 6.5, 1), (0x016, "U", "", 2, 7.5, 1), (0x017, "I", "", 2, 8.5, 1),
    (0x018, "O", "", 2, 9.5, 1), (0x019, "P", "", 2, 10.5, 1), (0x01A, "[", "{", 2, 11.5, 1),
    (0x01B, "]", "}", 2, 12.5, 1), (0x02B, "\\", "|", 2, 13.5, 1.5),
    # home row
    (0x03A, "Caps Lock", "", 3, 0, 1.75), (0x01E, "A", "", 3, 1.75, 1),
    (0x01F, "S", "", 3, 2.75, 1), (0x020, "D", "", 3, 3.75, 1), (0x021, "F", "", 3, 4.75, 1),
    (0x022, "G", "", 3, 5.75, 1), (0x023, "H", "", 3, 6.75, 1), (0x024, "J", "", 3, 7.75, 1),
    (0x025, "K", "", 3, 8.75, 1), (0x026, "L", "", 3, 9.75, 1), (0x027, ";", ":", 3, 10.75, 1),
    (0x028, "'", "\"", 3, 11.75, 1), (0x01C, "Enter", "", 3, 12.75, 2.25),
    # bottom letter row
    (0x02A, "Shift", "", 4, 0, 2.25), (0x02C, "Z", "", 4, 2.25, 1), (0x02D, "X", "", 4, 3.25, 1),
    (0x02E, "C", "", 4, 4.25, 1), (0x02F, "V", "", 4, 5.25, 1), (0x030, "B", "", 4, 6.25, 1),
    (0x031, "N", "", 4, 7.25, 1), (0x032, "M", "", 4, 8.25, 1), (0x033, ",", "<", 4, 9.25, 1),
    (0x034, ".", ">", 4, 10.25, 1), (0x035, "/", "?", 4, 11.25, 1),
    (0x036, "Shift", "", 4, 12.25, 2.75),
    # space row; Fn sits between the right Alt and the right Windows key
    (0x01D, "Ctrl", "", 5, 0, 1.25), (0x15B, "Win", "", 5, 1.25, 1.25),
    (0x038, "Alt", "", 5, 2.5, 1.25), (0x039, "", "", 5, 3.75, 6.25),
    (0x138, "Alt", "", 5, 10, 1), (0x15C, "Win", "", 5, 12, 1), (0x15D, "App", "", 5, 13, 1),
    (0x11D, "Ctrl", "", 5, 14, 1),
]

_NAV_KEYS = [
    (0x137, "PrtSc", "", 0, 0, 1), (0x046, "ScrLk", "", 0, 1, 1), (0x045, "Pause", "", 0, 2, 1),
    (0x152, "Ins", "", 1, 0, 1), (0x147, "Home", "", 1, 1, 1), (0x149, "PgUp", "", 1, 2, 1),
    (0x153, "Del", "", 2, 0, 1), (0x14F, "End", "", 2, 1, 1), (0x151, "PgDn", "", 2, 2, 1),
    (0x148, "\u2191", "", 4, 1, 1),
    (0x14B, "\u2190", "", 5, 0, 1), (0x150, "\u2193", "", 5, 1, 1), (0x14D, "\u2192", "", 5, 2, 1),
]

_PAD_KEYS = [
    (0x145, "Num", "", 1, 0, 1, 1), (0x135, "/", "", 1, 1, 1, 1), (0x037, "*", "", 1, 2, 1, 1),
    (0x04A, "-", "", 1, 3, 1, 1),
    (0x047, "7", "Home", 2, 0, 1, 1), (0x048, "8", "\u2191", 2, 1, 1, 1),
    (0x049, "9", "PgUp", 2, 2, 1, 1), (0x04E, "+", "", 2, 3, 1, 2),
    (0x04B, "4", "\u2190", 3, 0, 1, 1), (0x04C, "5", "", 3, 1, 1, 1),
    (0x04D, "6", "\u2192", 3, 2, 1, 1),
    (0x04F, "1", "End", 4, 0, 1, 1), (0x050, "2", "\u2193", 4, 1, 1, 1),
    (0x051, "3", "PgDn", 4, 2, 1, 1), (0x11C, "Enter", "", 4, 3, 1, 2),
    (0x052, "0", "Ins", 5, 0, 2, 1), (0x053, ".", "Del", 5, 2, 1, 1),
]

# The key codes of the main window's 104 key buttons, in the order of the key button table; the
# check of the generated skin compares the picture's keys with them.
KEY_BUTTON_CODES = (
    0x01E, 0x030, 0x02E, 0x020, 0x012, 0x021, 0x022, 0x023, 0x017, 0x024, 0x025, 0x026, 0x032,
    0x031, 0x018, 0x019, 0x010, 0x013, 0x01F, 0x014, 0x016, 0x02F, 0x011, 0x02D, 0x015, 0x02C,
    0x002, 0x003, 0x004, 0x005, 0x006, 0x007, 0x008, 0x009, 0x00A, 0x00B, 0x01C, 0x001, 0x00E,
    0x00F, 0x039, 0x00C, 0x00D, 0x01A, 0x01B, 0x02B, 0x027, 0x028, 0x029, 0x033, 0x034, 0x035,
    0x03B, 0x03C, 0x03D, 0x03E, 0x03F, 0x040, 0x041, 0x042, 0x043, 0x044, 0x057, 0x058, 0x137,
    0x045, 0x152, 0x153, 0x147, 0x14F, 0x149, 0x151, 0x148, 0x150, 0x14B, 0x14D, 0x046, 0x03A,
    0x15D, 0x01D, 0x11D, 0x02A, 0x036, 0x038, 0x138, 0x15B, 0x15C, 0x04F, 0x050, 0x051, 0x04B,
    0x04C, 0x04D, 0x047, 0x048, 0x049, 0x052, 0x145, 0x11C, 0x053, 0x135, 0x037, 0x04A, 0x04E,
)


def keyboard_keys():
    """The 104 key buttons, the Fn key and the nine G keys, in units."""
    keys = []
    for code, legend, sub, row, x, w in _MAIN_KEYS:
        keys.append(Key(f"KEY_{key_slot(code):03X}", legend, sub, MAIN + x, _row_y(row), w))
    for code, legend, sub, row, x, w in _NAV_KEYS:
        keys.append(Key(f"KEY_{key_slot(code):03X}", legend, sub, NAV + x, _row_y(row), w))
    for code, legend, sub, row, x, w, h in _PAD_KEYS:
        keys.append(Key(f"KEY_{key_slot(code):03X}", legend, sub, PAD + x, _row_y(row), w, h))
    keys.append(Key("KEY_FN", "Fn", "", MAIN + 11, _row_y(5)))
    # G1..G5 carry no printed legend: the program labels them with the active bank (A1, B1, ...).
    for g in range(9):
        legend = "" if g < 5 else f"G{g + 1}"
        keys.append(Key(f"FUNC_G{g + 1}", legend, "", G_BLOCK + g % 3, _row_y(1 + g // 3)))
    return keys


def rows_height():
    return _row_y(5) + 1.0
