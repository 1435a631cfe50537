"""UserDengColor_3.userd: the factory per-key colour layouts that "restore defaults" copies.

Ten named slots; each gives every key button and the Fn key a colour "R,G,B,f" under the key's
LED index, where f = 1 makes the key follow the slot's base colour.
"""
import os

import ini_writer
import keyboard_layout as KL

# LED index of each key button, in the order of KEY_BUTTON_CODES.
LED_INDEXES = (
    0x40, 0x5A, 0x58, 0x42, 0x2D, 0x43, 0x44, 0x45, 0x32, 0x46, 0x47, 0x48, 0x5C, 0x5B, 0x33, 0x34,
    0x2B, 0x2E, 0x41, 0x2F, 0x31, 0x59, 0x2C, 0x57, 0x30, 0x56, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B,
    0x1C, 0x1D, 0x1E, 0x1F, 0x4C, 0x00, 0x22, 0x2A, 0x6C, 0x20, 0x21, 0x35, 0x36, 0x37, 0x49, 0x4A,
    0x15, 0x5D, 0x5E, 0x5F, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C,
    0x0E, 0x10, 0x23, 0x38, 0x24, 0x39, 0x25, 0x3A, 0x63, 0x78, 0x77, 0x79, 0x0F, 0x3F, 0x6F, 0x69,
    0x71, 0x54, 0x61, 0x6B, 0x6D, 0x6A, 0x70, 0x65, 0x66, 0x67, 0x50, 0x51, 0x52, 0x3B, 0x3C, 0x3D,
    0x7B, 0x26, 0x68, 0x7C, 0x27, 0x28, 0x29, 0x3E,
)
FN_LED = 0x6E
LED_COLUMNS = 21

CODE_TO_LED = dict(zip(KL.KEY_BUTTON_CODES, LED_INDEXES))


def _leds(*codes):
    return {CODE_TO_LED[c] for c in codes}


WASD = _leds(0x011, 0x01E, 0x01F, 0x020)
ARROWS = _leds(0x148, 0x14B, 0x150, 0x14D)
FPS = WASD | _leds(0x02A, 0x01D, 0x039, 0x013, 0x012, 0x010, 0x002, 0x003, 0x004, 0x005, 0x006, 0x00F)
MOBA = _leds(0x010, 0x011, 0x012, 0x013, 0x020, 0x021, 0x002, 0x003, 0x004, 0x005, 0x006, 0x007, 0x039)
LETTERS = {CODE_TO_LED[c] for c in KL.KEY_BUTTON_CODES if 0x010 <= c <= 0x032 and c not in (
    0x01A, 0x01B, 0x01C, 0x01D, 0x027, 0x028, 0x029, 0x02A, 0x02B)}
FROW = {CODE_TO_LED[c] for c in KL.KEY_BUTTON_CODES if 0x03B <= c <= 0x044 or c in (0x057, 0x058, 0x001)}


def _lerp(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def _hue(t):
    import colorsys
    r, g, b = colorsys.hsv_to_rgb(t % 1.0, 1.0, 1.0)
    return round(r * 255), round(g * 255), round(b * 255)


def _slot(name, base, paint, colour_of):
    """colour_of(led) -> (rgb, follows_base)."""
    return name, base, paint, {led: colour_of(led) for led in list(LED_INDEXES) + [FN_LED]}


def _col(led):
    return (led % LED_COLUMNS) / (LED_COLUMNS - 1)


def _row(led):
    return (led // LED_COLUMNS) / 5


SLOTS = [
    _slot("Ice", (34, 211, 238), (255, 255, 255), lambda led: ((34, 211, 238), 1)),
    _slot("WASD", (60, 60, 70), (255, 40, 40),
          lambda led: ((255, 40, 40), 0) if led in WASD | ARROWS else ((60, 60, 70), 1)),
    _slot("Rainbow", (255, 255, 255), (255, 0, 0), lambda led: (_hue(_col(led) * 0.85), 0)),
    _slot("Fire", (255, 60, 0), (255, 220, 0),
          lambda led: (_lerp((255, 220, 0), (255, 20, 0), _row(led)), 0)),
    _slot("Ocean", (0, 60, 255), (0, 255, 200),
          lambda led: (_lerp((0, 255, 200), (0, 40, 255), _col(led)), 0)),
    _slot("FPS", (20, 40, 120), (255, 140, 0),
          lambda led: ((255, 140, 0), 0) if led in FPS else ((20, 40, 120), 1)),
    _slot("MOBA", (40, 0, 90), (0, 255, 120),
          lambda led: ((0, 255, 120), 0) if led in MOBA else ((40, 0, 90), 1)),
    _slot("Typing", (34, 211, 238), (255, 255, 255),
          lambda led: ((255, 255, 255), 0) if led in LETTERS else (
              ((170, 90, 255), 0) if led in FROW else ((34, 211, 238), 1))),
    _slot("Sunset", (255, 120, 0), (200, 0, 160),
          lambda led: (_lerp((200, 0, 160), (255, 150, 0), (_col(led) + _row(led)) / 2), 0)),
    _slot("White", (255, 255, 255), (255, 255, 255), lambda led: ((255, 255, 255), 1)),
]


def sections():
    out = [("PRESENTMODE", [("mode", "0")]),
           ("MODENAME", [(str(i), slot[0]) for i, slot in enumerate(SLOTS)])]
    for i, (name, base, paint, colours) in enumerate(SLOTS):
        entries = [("tool", "0"), ("jcolor", "%d,%d,%d" % base), ("color", "%d,%d,%d" % paint)]
        for led in sorted(colours):
            (r, g, b), follows = colours[led]
            entries.append((str(led), f"{r},{g},{b},{follows}"))
        out.append((f"Mode{i}", entries))
    return out


def write(skins):
    # UTF-16 so that slot names the user types later in any script survive in the copies.
    ini_writer.write(os.path.join(skins, "UserDengColor_3.userd"), sections(), force_unicode=True)
