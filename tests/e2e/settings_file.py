#!/usr/bin/env python3
"""Writes a settings file (.fwc) that no keyboard has held, for the import scenarios.

    settings_file.py OUT [--corrupt]

Every profile sends another key at one place (A->B on the first, Q->W on the second, Z->X on the
third) and plays a macro of its own from D; three macros with names, repeat counts and delays in
10 ms steps. --corrupt writes the same file with a wrong header checksum.

    settings_file.py --expect
prints what a keyboard holding that file has at the remapped places: one "PROFILE SCANCODE HEXENTRY"
line per key, the entry as the keyboard's key map carries it (kind, page, usage).
"""
import struct
import sys

HEADER_SIZE = 32
KEY_RECORDS = 2048
RECORD_SIZE = 16
BLOCK_RECORDS = 512
MACRO_RECORD_SIZE = 16512
TABLE_SIZE = 64 + KEY_RECORDS * RECORD_SIZE  # 32832

TYPE_KEY = 2
TYPE_MACRO = 4

# Scan codes (set 1) and HID usages of the keys used.
KEYS = {"A": (0x1E, 0x04), "B": (0x30, 0x05), "Q": (0x10, 0x14), "W": (0x11, 0x1A),
        "Z": (0x2C, 0x1D), "X": (0x2D, 0x1B), "D": (0x20, 0x07), "E": (0x12, 0x08),
        "R": (0x13, 0x15), "T": (0x14, 0x17), "LSHIFT": (0x2A, 0xE1)}

# (profile, key sent at this place instead)
REMAPS = [(0, "A", "B"), (1, "Q", "W"), (2, "Z", "X")]

# name, cycles, actions (key, press?, delay ms); every profile's D plays macro profile + 1.
MACROS = [
    ("Alpha", 1, [("E", True, 30), ("E", False, 20)]),
    ("Bravo", 2, [("LSHIFT", True, 10), ("R", True, 50), ("R", False, 10), ("LSHIFT", False, 0)]),
    ("Charlie", 3, [("T", True, 120), ("T", False, 40), ("T", True, 70), ("T", False, 0)]),
]


def record(kind, key_field, parameter):
    return struct.pack("<HHIII", kind, key_field, parameter, 0, 0)


def key_table():
    records = [b"\0" * RECORD_SIZE] * KEY_RECORDS
    # The G keys' codes in every profile's block, as a keyboard's settings carry them.
    for profile in range(3):
        for i in range(9):
            records[profile * BLOCK_RECORDS + 256 + i] = struct.pack("<HH", 0, 0x0301 + i) + b"\0" * 12
            records[profile * BLOCK_RECORDS + 265 + i] = struct.pack("<HH", 0, 0x1301 + i) + b"\0" * 12
    for profile, place, sent in REMAPS:
        records[profile * BLOCK_RECORDS + KEYS[place][0]] = record(TYPE_KEY, 0, KEYS[sent][0])
    for profile in range(3):
        # No repeat count: the keyboard keeps none, so the read back can match the file.
        records[profile * BLOCK_RECORDS + KEYS["D"][0]] = record(TYPE_MACRO, 0, profile + 1)
    return b"".join(records)


def macro_record(index, name, cycles, actions):
    out = bytearray(MACRO_RECORD_SIZE)
    encoded = name.encode("utf-16-le")
    out[0:len(encoded)] = encoded
    struct.pack_into("<BBHHHHH", out, 500, cycles, 0, 0, 0, index + 1, len(actions), 0)
    for i, (key, press, delay) in enumerate(actions):
        struct.pack_into("<IHH", out, 512 + 8 * i, delay, KEYS[key][0], 0 if press else 1)
    return bytes(out)


def settings_file(corrupt):
    macros = b"".join(macro_record(i, *m) for i, m in enumerate(MACROS))
    total = TABLE_SIZE + len(macros)
    header = bytearray(struct.pack("<HHHHIHHIIIHB", 0x4446, HEADER_SIZE, 3, 1, total, KEY_RECORDS,
                                   len(MACROS), 0, 0, 0, 0, 0))
    header.append((sum(header) + (1 if corrupt else 0)) % 256)
    descriptor = struct.pack("<8I", 0x0020484B, 0x00008020, 0x02000004, 0, 0x5A0C2F17,
                             0x000E1C4F, 0, 0)
    return bytes(header) + descriptor + key_table() + macros


def main(argv):
    if argv[1:] == ["--expect"]:
        for profile, place, sent in REMAPS:
            print(profile, "%02X" % KEYS[place][0], "0202%02X" % KEYS[sent][1])
        return 0
    if len(argv) < 2:
        sys.exit(__doc__)
    with open(argv[1], "wb") as f:
        f.write(settings_file("--corrupt" in argv[2:]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
