#!/usr/bin/env python3
"""Prints, as hex, a macro memory image that fills CAPACITY bytes as far as the image allows.

    full_macro_image.py CAPACITY

The most macros a list holds (100), each named "Macro NNN", their key presses and releases of the
letters A..Z (10 ms apart) shared out so that the image ends within 4 bytes of CAPACITY. The image
is one that a complete write leaves: header with magic, total size, count and names flag, one
offset per macro, then the blocks back to back.
"""
import struct
import sys

MAGIC = 0x55AA
HEADER = 16
MACROS = 100
BLOCK_HEADER = 4
ACTION = 4
MAX_ACTIONS = 2000
PRESS = 0x8000
KIND_KEYBOARD = 2 << 12
SUB_USAGE = 0x02
DELAY_UNITS = 1  # 10 ms


def image(capacity):
    names = ["Macro %03d" % (i + 1) for i in range(MACROS)]
    fixed = HEADER + 2 * MACROS + sum(BLOCK_HEADER + 2 * len(n) for n in names)
    actions_total = (capacity - fixed) // ACTION
    if actions_total < MACROS:
        sys.exit("a macro memory of %d bytes is too small" % capacity)
    per_macro = [min(MAX_ACTIONS, actions_total // MACROS + (1 if i < actions_total % MACROS else 0))
                 for i in range(MACROS)]
    blocks = []
    for i, name in enumerate(names):
        block = struct.pack("<HBB", per_macro[i], 1, len(name))
        for a in range(per_macro[i]):
            usage = 0x04 + (a // 2 + i) % 26  # A..Z
            control = DELAY_UNITS | KIND_KEYBOARD | (PRESS if a % 2 == 0 else 0)
            block += struct.pack("<HBB", control, SUB_USAGE, usage)
        block += name.encode("utf-16-le")
        blocks.append(block)
    offsets = []
    at = HEADER + 2 * MACROS
    for block in blocks:
        offsets.append(at)
        at += len(block)
    header = struct.pack("<HHHH", MAGIC, at, MACROS, 1) + b"\0" * 8
    data = header + b"".join(struct.pack("<H", o) for o in offsets) + b"".join(blocks)
    assert len(data) == at <= capacity
    return data


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: full_macro_image.py CAPACITY")
    sys.stdout.write(image(int(sys.argv[1])).hex().upper() + "\n")
