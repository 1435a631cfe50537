#!/usr/bin/env bash
# The keyboard reports a macro that starts and ends playing: the tray shows the playing icon and
# then the connected icon again. A keyboard unplugged while its macro plays ends on the "not
# connected" icon, and after plugging it in again the end of playback restores "connected".
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

# Several in a burst keep their order: the last one (ended) is what stays.
for code in 1811 1810 1811 1810 1811 1810; do kbsim_ok "event $code" >/dev/null; done
app_wait_tray connected 10 || fail "tray icon after a burst ending in 'ended': $(app_tray_icon)"

# Unplugged while playing: the connection's icon wins over the playing one.
kbsim_ok "event 1811" >/dev/null
app_wait_tray playing 10 || fail "tray icon after a second macro started: $(app_tray_icon)"
kbsim_ok detach >/dev/null
app_wait_tray disconnected 10 || fail "tray icon after unplugging during playback: $(app_tray_icon)"
screenshot unplugged_while_playing
kbsim_ok attach >/dev/null
kbsim_ok "event 1810" >/dev/null
app_wait_tray connected 20 || fail "tray icon after plugging in and the end of playback: $(app_tray_icon)"

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
