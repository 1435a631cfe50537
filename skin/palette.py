"""Colours of the skin: a dark graphite body with a cyan accent."""
from canvas import rgb

WINDOW_TOP = rgb("#171a21")
WINDOW_BOTTOM = rgb("#0e1014")
EDGE = rgb("#2f3644")
PLATE = rgb("#101217")
PLATE_EDGE = rgb("#262b35")
PANEL = rgb("#181b22")          # flat: the panel bitmaps are drawn on this colour
PANEL_EDGE = rgb("#2a303b")
BAR = rgb("#13161c")

CAP_TOP = rgb("#2d323d")
CAP_BOTTOM = rgb("#22262e")
CAP_EDGE = rgb("#3a404d")
CAP_SKIRT = rgb("#0b0d11")
LEGEND = rgb("#e8ebf1")
LEGEND_DIM = rgb("#8b93a3")

ACCENT = rgb("#22d3ee")
ACCENT_DEEP = rgb("#0e7490")
ACCENT_DARK = rgb("#0b4f63")
SET_MARK = rgb("#ff9f1c")
SET_TINT = rgb("#3a2f22")
PICK = rgb("#c026d3")
PICK_DEEP = rgb("#6b21a8")
DANGER = rgb("#e5484d")
LED_ON = rgb("#4ade80")
LED_OFF = rgb("#2a2f38")

BUTTON_TOP = rgb("#2b303b")
BUTTON_BOTTOM = rgb("#22262f")
BUTTON_EDGE = rgb("#3b4252")
TEXT = rgb("#e4e4e4")
TEXT_DIM = rgb("#7d8596")
