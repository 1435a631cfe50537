#!/usr/bin/env bash
# kbsim goes away while the program sits in the tray: the icon turns to "not connected" and the
# program sleeps (its threads do not wake while kbsim is gone, where a timed retry would wake them
# several times a second); kbsim back on the same port, the program reconnects at once, by kbsim's
# announcement rather than a timer, and reads the keyboard afresh.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/unplug_helpers.sh"
harness_init app_kbsim_gone
# A private Xvfb always: the tray icon is read from Wine's own tray window.
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached

wine_start "$E2E_WORK/app.out" Vendrel.exe /Start
app_wait_started 60 || fail "the program did not put its icon into the tray"
app_wait_tray connected 30 || fail "tray icon with kbsim there: $(app_tray_icon)"
unplug_wait_log_quiet 30 || fail "the start-up reads did not end"
pid=$(app_pids | head -n1)
[ -n "$pid" ] || fail "no program process"

hid_port=$KBSIM_HID_PORT
control_port=$KBSIM_CONTROL_PORT
stop_kbsim
app_wait_tray disconnected 20 || fail "tray icon once kbsim is gone: $(app_tray_icon)"
screenshot kbsim_gone

# Settled first (the tray icon change, the detach's work), then watched.
sleep 2
quiet_seconds=${APP_KBSIM_GONE_WATCH:-10}
woke=$(app_wakeups_during "$pid" "$quiet_seconds")
e2e_log "wake-ups in ${quiet_seconds} s with kbsim gone: $woke"
[ "$woke" -le 2 ] || fail "the program woke $woke times in ${quiet_seconds} s with kbsim gone"

# kbsim back on the same ports: the library hears it and connects; the keyboard is read afresh
# (kbsim's new packet log starts empty).
KBSIM_LOG="$E2E_WORK/kbsim-again.log"
lines_before=0
"$KBSIM" --hid-port "$hid_port" --control-port "$control_port" --state "$KBSIM_STATE" --log "$KBSIM_LOG" --attached \
  >"$E2E_WORK/kbsim-again.out" 2>"$E2E_WORK/kbsim-again.err" &
KBSIM_PID=$!
_e2e_track "$KBSIM_PID"
wait_for_line "$E2E_WORK/kbsim-again.out" '^ready$' 10 || fail "kbsim did not start again on port $hid_port"
started=$(date +%s%N)
app_wait_tray connected 20 || fail "tray icon after kbsim came back: $(app_tray_icon)"
e2e_log "connected again $((($(date +%s%N) - started) / 1000000)) ms after kbsim said ready"
for ((i = 0; i < 120; i++)); do
  unplug_refreshed_after "$lines_before" && break
  sleep 0.25
done
unplug_refreshed_after "$lines_before" || fail "the keyboard was not read again after kbsim came back"
screenshot kbsim_back

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
