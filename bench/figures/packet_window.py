#!/usr/bin/env python3
"""Reads kbsim's packet log from a moment on and prints what one exchange cost.

    packet_window.py LOG START_MICROS

LOG lines are "MICROS DIRECTION HEX" (kbsim --log). Counts the control packets the host sent
('>') at or after START_MICROS and prints "PACKETS MICROS": the packets and the time from
START_MICROS to the last reply ('<') after it. Prints "0 0" when no reply came.
"""
import sys


def window(lines, start):
    packets = 0
    last_reply = None
    for line in lines:
        parts = line.split()
        if len(parts) < 2 or not parts[0].isdigit():
            continue
        micros = int(parts[0])
        if micros < start:
            continue
        if parts[1] == ">":
            packets += 1
        elif parts[1] == "<":
            last_reply = micros
    return packets, (last_reply - start) if last_reply is not None else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: packet_window.py LOG START_MICROS")
    with open(sys.argv[1], encoding="ascii", errors="replace") as log:
        packets, micros = window(log, int(sys.argv[2]))
    print(packets, micros)
