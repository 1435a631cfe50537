#!/usr/bin/env bash
# Plug storms while the program runs in the tray, as a flaky cable makes them: 200 detach/attach
# pairs paced 5 ms apart, the same sent back to back, and a paced storm that ends unplugged. After
# each the program follows the keyboard: attached last, the "connected" icon and a connect refresh
# that started after the last attach; unplugged last, the "disconnected" icon. A slow unplug and
# replug afterwards is followed too, the thread count stays bounded, no message box stays behind,
# and Open from the tray still shows the window.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/unplug_helpers.sh"
harness_init app_unplug_storm
# A private Xvfb always: the tray icon is read from Wine's own tray window.
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached

wine_start "$E2E_WORK/app.out" Vendrel.exe /Start
app_wait_started 60 || fail "the program did not put its icon into the tray"
app_wait_tray connected 30 || fail "tray icon before the storm: $(app_tray_icon)"
unplug_wait_log_quiet 30 || fail "the start-up reads did not end"
pid=$(app_pids | head -n1)
[ -n "$pid" ] || fail "no Vendrel.exe process"
baseline=$(unplug_thread_count "$pid")
e2e_log "threads before the storms: $baseline"

# The thread count's peak over the storms, sampled densely in the background.
peak_file="$E2E_WORK/thread-peak"
echo "$baseline" >"$peak_file"
(
  peak=$baseline
  while [ -d "/proc/$pid" ]; do
    now=$(unplug_thread_count "$pid")
    [ "$now" -gt "$peak" ] && peak=$now && echo "$peak" >"$peak_file"
    sleep 0.02
  done
) &
sampler=$!

unplug_storm_paced 200 0.005
unplug_expect_followed 60 "paced storm"
screenshot after_paced_storm

unplug_bounce 200
unplug_expect_followed 60 "back-to-back storm"

unplug_storm_paced 200 0.005 detach
unplug_expect_followed 60 "paced storm ending unplugged"
screenshot after_storm_unplugged

kill "$sampler" 2>/dev/null || true
wait "$sampler" 2>/dev/null || true
peak=$(cat "$peak_file")
e2e_log "threads: $baseline before, at most $peak during the storms"
[ "$peak" -le $((baseline + 6)) ] || fail "thread count grew from $baseline to $peak during the storms"

# A slow replug after the storms is followed both ways.
sleep 3
kbsim_ok attach >/dev/null
unplug_expect_followed 30 "slow attach after the storms"
kbsim_ok detach >/dev/null
sleep 3
unplug_expect_followed 30 "slow detach"
kbsim_ok attach >/dev/null
unplug_expect_followed 30 "slow attach"

[ -d "/proc/$pid" ] || fail "the program ended during the storms"
expect_eq 1 "$(app_process_count)" "processes after the storms"
unplug_open_from_tray
screenshot opened_after_storm
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
