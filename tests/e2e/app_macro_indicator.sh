#!/usr/bin/env bash
# The keyboard reports a macro that starts and ends playing: the tray shows the playing icon and
# then the connected icon again. Bursts of reports are shown in their order: each burst ends on an
# icon that differs from the one before it. A keyboard unplugged while its macro plays ends on the
# "not connected" icon; plugged in again, a macro that starts shows the playing icon and its end
# restores "connected", the connection's icon as it is now, not as it was when the first macro
# began.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
harness_init app_macro_indicator
# A private Xvfb always: the tray icon is read from Wine's own tray window.
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached

wine_start "$E2E_WORK/app.out" Vendrel.exe /Start
app_wait_started 60 || fail "the program did not put its icon into the tray"
app_wait_tray connected 30 || fail "tray icon before playback: $(app_tray_icon)"

kbsim_ok "event 1811" >/dev/null
app_wait_tray playing 10 || fail "tray icon after a macro started: $(app_tray_icon)"
screenshot playing
kbsim_ok "event 1810" >/dev/null
app_wait_tray connected 10 || fail "tray icon after the macro ended: $(app_tray_icon)"

# Several in a burst keep their order: the last one is what stays. Each burst begins with the
# report that matches the icon showing and ends on the other one, so a burst shown in another order
# (or its last report lost) leaves the icon as it was. The program holds each report's icon for
# a moment only, too short to be seen between them.
for code in 1810 1811 1810 1811 1810 1811; do kbsim_ok "event $code" >/dev/null; done
app_wait_tray playing 10 || fail "tray icon after a burst ending in 'started': $(app_tray_icon)"
for code in 1811 1810 1811 1810 1811 1810; do kbsim_ok "event $code" >/dev/null; done
app_wait_tray connected 10 || fail "tray icon after a burst ending in 'ended': $(app_tray_icon)"

# Unplugged while playing: the connection's icon wins over the playing one.
kbsim_ok "event 1811" >/dev/null
app_wait_tray playing 10 || fail "tray icon after a second macro started: $(app_tray_icon)"
kbsim_ok detach >/dev/null
app_wait_tray disconnected 10 || fail "tray icon after unplugging during playback: $(app_tray_icon)"
screenshot unplugged_while_playing

# Plugged in again: the attach alone brings "connected". A macro that starts then shows the playing
# icon, and its end must bring back the connection's icon as it is now: "connected", not the "not
# connected" of the unplug.
kbsim_ok attach >/dev/null
app_wait_tray connected 20 || fail "tray icon after plugging in again: $(app_tray_icon)"
kbsim_ok "event 1811" >/dev/null
app_wait_tray playing 10 || fail "tray icon after a macro started once plugged in again: $(app_tray_icon)"
kbsim_ok "event 1810" >/dev/null
app_wait_tray connected 10 || fail "tray icon after the end of playback once plugged in again: $(app_tray_icon)"

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
