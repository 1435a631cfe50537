#!/usr/bin/env bash
# One detach immediately followed by an attach while the program runs in the tray: it ends
# connected with the "connected" icon, reads the keyboard afresh after the attach, and Open from
# the tray shows the window instead of "Device is not detected".
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/unplug_helpers.sh"
harness_init app_unplug_bounce
# A private Xvfb always: the tray icon is read from Wine's own tray window.
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached

wine_start "$E2E_WORK/app.out" Vendrel.exe /Start
app_wait_started 60 || fail "the program did not put its icon into the tray"
app_wait_tray connected 30 || fail "tray icon before the bounce: $(app_tray_icon)"
unplug_wait_log_quiet 30 || fail "the start-up reads did not end"
lines_before=$(wc -l <"$KBSIM_LOG")

unplug_bounce 1
for ((i = 0; i < 120; i++)); do
  unplug_refreshed_after "$lines_before" && break
  sleep 0.25
done
unplug_refreshed_after "$lines_before" || fail "the keyboard was not read again after the bounce"
unplug_wait_log_quiet 30 || fail "the program kept talking to the keyboard after the bounce"
app_wait_tray connected 10 || fail "tray icon after the bounce: $(app_tray_icon)"
screenshot after_bounce

unplug_open_from_tray
screenshot opened_after_bounce
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
