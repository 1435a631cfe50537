#!/usr/bin/env bash
# No keyboard when the program starts: it stays in the tray with the "not connected" icon; asking
# it to show itself (a second start, the tray menu's Open) gives the "Device is not detected"
# message instead of the window; plugging the keyboard in turns the icon to "connected" without
# opening the window.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
harness_init app_keyboard_absent
NO_DEVICE="Device is not detected"
# A private Xvfb always: the tray icon is read from Wine's own tray window, which a desktop with a
# notification area of its own would replace.
E2E_FORCE_XVFB=1 start_display
start_kbsim

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_started 60 || fail "the program did not put its icon into the tray"
expect_eq disconnected "$(app_tray_icon)" "tray icon without a keyboard"
screenshot tray_only

# A second start asks the running instance to show itself and ends; the running instance has no
# keyboard to show, so it says so. Its message is the first thing the program shows: then it has
# long settled on having no keyboard, and had it opened its window or another box by itself, they
# would be on the screen beside the message.
wine_run Vendrel.exe || fail "the second start did not end by itself with code 0"
box=$(ds_wait_box "$NO_DEVICE" 10) || fail "no \"$NO_DEVICE\" message after the second start; boxes: $(ds_boxes)"
e2e_log "after the second start: $box"
expect_eq 1 "$(ds_boxes | wc -l)" "message boxes after the second start"
expect_eq 1 "$(app_process_count)" "processes after the second start"
expect_eq hidden "$(app_window_state)" "window after the second start"
screenshot no_device_message
app_box_key Return
for i in $(seq 1 50); do [ -z "$(app_other_windows)" ] && break; sleep 0.1; done
expect_eq "" "$(app_other_windows)" "windows after the message was confirmed"

# Double-clicking the tray icon is Open: the same message.
read -r tx ty th <<<"$(app_tray_icon_origin)"
xdotool mousemove $((tx + 10)) $((ty + th / 2)) click --repeat 2 --delay 80 1
box=$(ds_wait_box "$NO_DEVICE" 10) || fail "no \"$NO_DEVICE\" message after a double-click on the tray icon; boxes: $(ds_boxes)"
expect_eq 1 "$(ds_boxes | wc -l)" "message boxes after the double-click"
expect_eq hidden "$(app_window_state)" "window after the double-click"
app_box_key Return
for i in $(seq 1 50); do [ -z "$(app_other_windows)" ] && break; sleep 0.1; done

# The tray menu's About opens the about box, also without a keyboard; OK only hides it.
read -r tx ty th <<<"$(app_tray_icon_origin)"
xdotool mousemove $((tx + 10)) $((ty + th / 2)) click 3
for i in $(seq 1 50); do [ -n "$(app_other_windows)" ] && break; sleep 0.1; done
menu=$(app_other_windows | head -n1)
[ -n "$menu" ] || fail "the tray menu did not open (window: $(app_window_state))"
menu_size=${menu%%+*}
menu_pos=${menu#*+}
xdotool mousemove $((${menu_pos%%+*} + ${menu_size%%x*} / 2)) $((${menu_pos#*+} + ${menu_size#*x} / 2)) click 1
about=""
for i in $(seq 1 50); do
  about=$(xdotool search --onlyvisible --name '^About$' 2>/dev/null | head -n1) && [ -n "$about" ] && break
  sleep 0.1
done
[ -n "$about" ] || fail "About in the tray menu opened no about box"
screenshot about_box
xdotool windowactivate --sync "$about" 2>/dev/null || xdotool windowfocus "$about"
xdotool key Return
for i in $(seq 1 50); do [ -z "$(app_other_windows)" ] && break; sleep 0.1; done
expect_eq "" "$(app_other_windows)" "windows after OK in the about box"
expect_eq 1 "$(app_process_count)" "processes after the about box"

# Plugging the keyboard in: the icon changes, the window stays in the tray. The program decides
# to open it when it shows the connection's icon; the tray menu asked for after that is handled
# after that decision, so once the menu shows, a window that was to open has opened.
kbsim_ok attach >/dev/null
app_wait_tray connected 20 || fail "tray icon after attach: $(app_tray_icon)"
read -r tx ty th <<<"$(app_tray_icon_origin)"
xdotool mousemove $((tx + 10)) $((ty + th / 2)) click 3
for i in $(seq 1 50); do [ -n "$(app_other_windows)" ] && break; sleep 0.1; done
[ -n "$(app_other_windows)" ] || fail "the tray menu did not open after the attach (window: $(app_window_state))"
expect_eq hidden "$(app_window_state)" "window after the attach"
screenshot attached_in_tray
# A click beside the tray menu closes it (it takes no keys: it never has the focus).
xdotool mousemove 1200 1000 click 1
for i in $(seq 1 50); do [ -z "$(app_other_windows)" ] && break; sleep 0.1; done
expect_eq "" "$(app_other_windows)" "windows after a click beside the tray menu"

# Now Show works.
wine_run Vendrel.exe || fail "the second start did not end by itself with code 0"
app_wait_window shown 20 || fail "the running instance did not show itself with the keyboard attached"
screenshot shown_after_attach

wine_run Vendrel.exe /kill
app_wait_ended 20 || fail "/kill did not end the program"
