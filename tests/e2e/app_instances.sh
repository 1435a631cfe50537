#!/usr/bin/env bash
# The command line and the single instance: "/Start" keeps the window in the tray although the
# keyboard is attached; a second start shows the running instance and ends; "/Kill" in any letter
# case ends the running instance; "/Kill" with nothing running ends at once and starts nothing;
# "/Start /Kill" ends the running instance and does not start a second one.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
harness_init app_instances
start_display
start_kbsim --attached

wine_run Vendrel.exe /kILL || fail "/Kill with nothing running did not end with code 0"
expect_eq 0 "$(app_process_count)" "processes after /Kill with nothing running"

wine_start "$E2E_WORK/app.out" Vendrel.exe /sTaRt
app_wait_started 60 || fail "the program did not put its icon into the tray"
app_wait_tray connected 20 || fail "tray icon with the keyboard attached: $(app_tray_icon)"
sleep 4
expect_eq hidden "$(app_window_state)" "window of a /Start start with the keyboard attached"
screenshot started_in_tray

wine_run Vendrel.exe || fail "the second start did not end by itself with code 0"
app_wait_window shown 20 || fail "the second start did not show the running instance"
expect_eq 1 "$(app_process_count)" "processes after the second start"
screenshot shown_by_second_start

wine_run Vendrel.exe /KILL || fail "/KILL did not end with code 0"
app_wait_ended 20 || fail "/KILL did not end the running instance"

wine_start "$E2E_WORK/app2.out" Vendrel.exe /Start
app_wait_started 60 || fail "the program did not start again"
wine_run Vendrel.exe /Start /Kill || fail "/Start /Kill did not end with code 0"
app_wait_ended 20 || fail "/Start /Kill did not end the running instance"
