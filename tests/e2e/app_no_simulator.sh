#!/usr/bin/env bash
# Without QUORVA_SIM the library looks for the keyboard itself through the Windows HID API. Under
# Wine there is none: the program starts into the tray with the "not connected" icon, keeps running
# without waking (the library waits for device notifications, it does not poll), and /Kill ends it.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
harness_init app_no_simulator
# A private Xvfb always: the tray icon is read from Wine's own tray window.
E2E_FORCE_XVFB=1 start_display
unset QUORVA_SIM

wine_start "$E2E_WORK/app.out" Vendrel.exe /Start
app_wait_started 60 || fail "the program did not put its icon into the tray"
app_wait_tray disconnected 20 || fail "tray icon with no keyboard: $(app_tray_icon)"
pid=$(app_pids | head -n1)
[ -n "$pid" ] || fail "no program process"
screenshot tray_no_keyboard

wakeups() {
  local total=0 f n
  for f in /proc/"$1"/task/*/status; do
    n=$(awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ { s += $2 } END { print s + 0 }' "$f" 2>/dev/null) || n=0
    total=$((total + n))
  done
  echo "$total"
}
sleep 2
before=$(wakeups "$pid")
sleep 5
after=$(wakeups "$pid")
e2e_log "wake-ups in 5 s without a keyboard: $((after - before))"
[ $((after - before)) -le 2 ] || fail "the program woke $((after - before)) times in 5 s without a keyboard"
expect_eq 1 "$(app_process_count)" "program processes after a while without a keyboard"
expect_eq disconnected "$(app_tray_icon)" "tray icon after a while without a keyboard"

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
