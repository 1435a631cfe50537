#!/usr/bin/env bash
# Keyboard attached when the program starts: the window opens by itself exactly once, Escape and
# Enter do nothing, the cache file holds the keyboard's settings, a detach hides the window and
# turns the tray icon to "not connected", a new attach turns it back without opening the window,
# and Exit in the tray menu ends the process and frees the single-instance mutex.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
harness_init app_keyboard_present
# A private Xvfb always: the tray icon is read from Wine's own tray window, which a desktop with a
# notification area of its own would replace.
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached

# The keyboard's own settings: on profile 1 "A" sends "B", on profile 3 "Q" sends "W". Each entry
# goes to the matrix position whose factory entry is the key (keyboard usage, 3 bytes per entry).
factory=$(kbsim_ok "read defaultmap 0 378")
position_of_usage() {
  local usage=$1 i
  for ((i = 0; i < 126; i++)); do
    [ "${factory:i*6:6}" = "0202$usage" ] && { echo "$i"; return 0; }
  done
  fail "usage $usage not in the factory map"
}
pos_a=$(position_of_usage 04)
pos_q=$(position_of_usage 14)
kbsim_ok "write keymap $((pos_a * 3)) 020205" >/dev/null
kbsim_ok "write keymap $((2 * 378 + pos_q * 3)) 02021A" >/dev/null

rm -rf "$(app_user_folder)"
wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open by itself with the keyboard attached"
sleep 1
screenshot window_opened

# The window's shape comes from the mask: where the mask is white the desktop shows through.
geometry=$(xwininfo -name "$APP_TITLE" | sed -n 's/^ *-geometry //p')
win_x=$(xwininfo -name "$APP_TITLE" | sed -n 's/^ *Absolute upper-left X: *//p')
win_y=$(xwininfo -name "$APP_TITLE" | sed -n 's/^ *Absolute upper-left Y: *//p')
"$APP_PYTHON" - "$E2E_DIST/Skins" "$E2E_SHOTS/window_opened.png" "$win_x" "$win_y" <<'PY' || fail "window shape or skin"
import configparser, sys
from PIL import Image
skins, shot, wx, wy = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
raw = open(skins + "/Main.ini", "rb").read()
text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8-sig")
ini = configparser.ConfigParser(strict=False, interpolation=None)
ini.read_string(text)
main = ini.get("SCREEN", "Main")
mask_name = ini.get("SCREEN", "Mask", fallback=main)
background = Image.open(skins + "/" + main).convert("RGB")
mask = Image.open(skins + "/" + mask_name).convert("RGB")
screen = Image.open(shot).convert("RGB")
w, h = background.size
cut = inside = checked = 0
for y in range(0, h, 7):
    for x in range(0, w, 7):
        sx, sy = wx + x, wy + y
        if sx >= screen.width or sy >= screen.height:
            continue
        checked += 1
        if mask.getpixel((x, y)) == (255, 255, 255):
            # the desktop (black on Xvfb) or anything but the skin's pixel
            if screen.getpixel((sx, sy)) != background.getpixel((x, y)) or background.getpixel((x, y)) == (0, 0, 0):
                cut += 1
            else:
                sys.exit("pixel %d,%d should be cut away by the mask" % (x, y))
        else:
            inside += 1
print("shape: %d cut, %d inside, %d checked" % (cut, inside, checked))
if cut == 0:
    sys.exit("the mask cuts nothing away: the shape was not tested")
PY
# Buttons whose skin has no place are effectively absent; the window's area shows the skin.
e2e_log "window $geometry at $win_x,$win_y"

# The cache file holds what the keyboard's memory holds.
cache=$(app_cache_file)
for i in $(seq 1 100); do [ -s "$cache" ] && break; sleep 0.1; done
[ -s "$cache" ] || fail "no cache file $cache"
"$APP_PYTHON" - "$cache" <<'PY' || fail "cache file content"
import struct, sys
data = open(sys.argv[1], "rb").read()
TABLE, HEADER, RECORD, BLOCK = 32832, 64, 16, 512
if len(data) < TABLE:
    sys.exit("cache file has %d bytes" % len(data))
expected = {(0, 0x1E): (2, 0x30), (2, 0x10): (2, 0x11)}  # (profile, key slot): (Key, target key)
for block in range(3):
    for record in range(BLOCK):
        off = HEADER + (block * BLOCK + record) * RECORD
        kind, = struct.unpack_from("<H", data, off)
        key, = struct.unpack_from("<I", data, off + 4)  # a Key record's target is its parameter
        want = expected.get((block, record), (0, None))
        if kind != want[0] or (want[1] is not None and key != want[1]):
            sys.exit("profile %d record 0x%X: type %d key 0x%X, want %s" % (block + 1, record, kind, key, want))
print("cache file: %d bytes, profile 1 A->B and profile 3 Q->W, every other key default" % len(data))
PY
expect_eq connected "$(app_tray_icon)" "tray icon with the keyboard attached"

# Escape and Enter never close or hide the window. The window takes its input in order, so once
# the question of the Restore defaults click that follows them shows, both keys were handled: a
# window they had hidden would have taken no click at all.
wid=$(xdotool search --name "^$APP_TITLE\$" | head -n1)
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
xdotool key Escape
xdotool key Return

# Restore defaults, answered Yes, clears the active profile's keys and applies: the keyboard's key
# map of profile 1 gets its factory entry back and the cache file follows; profile 3 keeps its own.
app_click_control FUNC_DEFAULT
for i in $(seq 1 50); do [ -n "$(app_other_windows)" ] && break; sleep 0.1; done
[ -n "$(app_other_windows)" ] || fail "Restore defaults asked nothing (or Escape or Enter took the window away: $(app_window_state))"
expect_eq shown "$(app_window_state)" "window after Escape and Enter"
expect_eq 1 "$(app_process_count)" "processes after Escape and Enter"
screenshot restore_defaults_question
app_box_key y
entry_a=""
for i in $(seq 1 100); do
  entry_a=$(kbsim_ok "read keymap $((pos_a * 3)) 3")
  [ "$entry_a" = 020204 ] && break
  sleep 0.1
done
expect_eq 020204 "$entry_a" "profile 1 entry of A after Restore defaults"
expect_eq 02021A "$(kbsim_ok "read keymap $((2 * 378 + pos_q * 3)) 3" | tr a-f A-F)" "profile 3 entry of Q after Restore defaults"
for i in $(seq 1 50); do
  [ "$(od -An -tu2 -j $((64 + 0x1E * 16)) -N2 "$cache" | tr -d ' ')" = 0 ] && break
  sleep 0.1
done
expect_eq 0 "$(od -An -tu2 -j $((64 + 0x1E * 16)) -N2 "$cache" | tr -d ' ')" "cache file record of A after Restore defaults"
expect_eq shown "$(app_window_state)" "window after Restore defaults"

# Unplugging hides the window and shows the "not connected" icon.
kbsim_ok detach >/dev/null
app_wait_tray disconnected 20 || fail "tray icon after detach: $(app_tray_icon)"
app_wait_window hidden 10 || fail "the window stayed on the screen after the detach"
screenshot detached

# Plugging in again changes the icon but does not open the window a second time. The program
# decides to open it when it shows the connection's icon; the tray menu asked for after that is
# handled after that decision, so once the menu shows, a window that was to open has opened.
mark=$(wc -l <"$KBSIM_LOG")
kbsim_ok attach >/dev/null
app_wait_tray connected 20 || fail "tray icon after attach: $(app_tray_icon)"
[ "$(tail -n +"$((mark + 1))" "$KBSIM_LOG" | grep -c ' > ')" -gt 0 ] || fail "the program did not read the keyboard after the attach"
read -r tx ty th <<<"$(app_tray_icon_origin)"
xdotool mousemove $((tx + 10)) $((ty + th / 2)) click 3
for i in $(seq 1 50); do [ -n "$(app_other_windows)" ] && break; sleep 0.1; done
[ -n "$(app_other_windows)" ] || fail "the tray menu did not open (window: $(app_window_state))"
expect_eq hidden "$(app_window_state)" "window after the second attach"
screenshot tray_menu

# Exit from the tray menu ends the process.
# Exit is the last of the menu's three items.
menu=$(app_other_windows | head -n1)
menu_size=${menu%%+*}
menu_pos=${menu#*+}
xdotool mousemove $((${menu_pos%%+*} + ${menu_size%%x*} / 2)) $((${menu_pos#*+} + ${menu_size#*x} * 5 / 6)) click 1
app_wait_ended 20 || fail "Exit in the tray menu did not end the program"
wait "$WINE_PID" 2>/dev/null || true

# The mutex went with it: a new start runs as the only instance ("/Start" keeps it in the tray).
# As above, the tray menu shows only after the program has settled on its connection.
wine_start "$E2E_WORK/again.out" Vendrel.exe /Start
app_wait_started 60 || fail "a new start after Exit did not run"
app_wait_tray connected 20 || fail "tray icon of the new start: $(app_tray_icon)"
read -r tx ty th <<<"$(app_tray_icon_origin)"
xdotool mousemove $((tx + 10)) $((ty + th / 2)) click 3
for i in $(seq 1 50); do [ -n "$(app_other_windows)" ] && break; sleep 0.1; done
[ -n "$(app_other_windows)" ] || fail "the tray menu of the new start did not open (window: $(app_window_state))"
expect_eq 1 "$(app_process_count)" "processes after a new start"
expect_eq hidden "$(app_window_state)" "window of a /Start start"
# A click beside the tray menu closes it (it takes no keys: it never has the focus).
xdotool mousemove 1200 1000 click 1
for i in $(seq 1 50); do [ -z "$(app_other_windows)" ] && break; sleep 0.1; done
expect_eq "" "$(app_other_windows)" "windows after a click beside the tray menu"
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
