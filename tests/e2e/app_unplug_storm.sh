#!/usr/bin/env bash
# 200 detach/attach pairs sent back to back while the program runs in the tray: it survives, ends
# with the "connected" icon, reads the keyboard afresh after the last attach, keeps its thread count
# bounded while the storm lasts, and still answers: Open from the tray shows the window.
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
e2e_log "threads before the storm: $baseline"
lines_before=$(wc -l <"$KBSIM_LOG")

unplug_bounce 200 &
storm=$!
# Samples the thread count while the storm and the program's answer to it last.
peak=$baseline
settled=""
for ((i = 0; i < 160; i++)); do
  [ -d "/proc/$pid" ] || fail "the program ended during the storm"
  now=$(unplug_thread_count "$pid")
  [ "$now" -gt "$peak" ] && peak=$now
  if ! kill -0 "$storm" 2>/dev/null && unplug_refreshed_after "$lines_before" &&
    [ "$(app_tray_icon)" = connected ]; then
    settled=yes
    break
  fi
  sleep 0.25
done
wait "$storm" || fail "the storm was not taken by kbsim"
e2e_log "threads: $baseline before, at most $peak during the storm"
screenshot after_storm
[ -n "$settled" ] || fail "no fresh read of the keyboard after the storm, or tray icon $(app_tray_icon)"
unplug_wait_log_quiet 30 || fail "the program kept talking to the keyboard after the storm"
[ -d "/proc/$pid" ] || fail "the program ended after the storm"
expect_eq 1 "$(app_process_count)" "processes after the storm"
[ "$peak" -le $((baseline + 6)) ] || fail "thread count grew from $baseline to $peak during the storm"
expect_eq connected "$(app_tray_icon)" "tray icon after the storm"

unplug_open_from_tray
screenshot opened_after_storm
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
