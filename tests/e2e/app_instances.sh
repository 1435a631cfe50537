#!/usr/bin/env bash
# The command line and the single instance: "/Start" keeps the window in the tray although the
# keyboard is attached; a second start shows the running instance and ends; "/Kill" in any letter
# case ends the running instance; "/Kill" with nothing running ends at once and starts nothing;
# "/Start /Kill" ends the running instance and does not start a second one.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
harness_init app_instances
# A private Xvfb always: the tray icon is read from Wine's own tray window, which a desktop with a
# notification area of its own would replace.
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached

wine_run Vendrel.exe /kILL || fail "/Kill with nothing running did not end with code 0"
expect_eq 0 "$(app_process_count)" "processes after /Kill with nothing running"

wine_start "$E2E_WORK/app.out" Vendrel.exe /sTaRt
app_wait_started 60 || fail "the program did not put its icon into the tray"
app_wait_tray connected 20 || fail "tray icon with the keyboard attached: $(app_tray_icon)"
# The program decides whether to open its window when it shows the connection's icon; the tray
# menu asked for after that is handled after that decision, so once the menu shows, a window that
# was to open has opened.
read -r tx ty th <<<"$(app_tray_icon_origin)"
xdotool mousemove $((tx + 10)) $((ty + th / 2)) click 3
for i in $(seq 1 50); do [ -n "$(app_other_windows)" ] && break; sleep 0.1; done
[ -n "$(app_other_windows)" ] || fail "the tray menu did not open (window: $(app_window_state))"
expect_eq hidden "$(app_window_state)" "window of a /Start start with the keyboard attached"
screenshot started_in_tray
# A click beside the tray menu closes it (it takes no keys: it never has the focus).
xdotool mousemove 1200 1000 click 1
for i in $(seq 1 50); do [ -z "$(app_other_windows)" ] && break; sleep 0.1; done
expect_eq "" "$(app_other_windows)" "windows after a click beside the tray menu"

wine_run Vendrel.exe || fail "the second start did not end by itself with code 0"
app_wait_window shown 20 || fail "the second start did not show the running instance"
expect_eq 1 "$(app_process_count)" "processes after the second start"
screenshot shown_by_second_start

# The keyboard's bank key switches the G keys to bank B: the program answers with the key-bank
# report and lights the bank indicator; pressed again, both go back.
app_look LOCK_AB bank_a
report_a=$(kbsim_ctl bank || true)
kbsim_ok "event 02FF" >/dev/null
report_b=""
for i in $(seq 1 50); do
  report_b=$(kbsim_ctl bank || true)
  [ -n "$report_b" ] && [ "$report_b" != "$report_a" ] && break
  sleep 0.1
done
[ "$report_b" != "$report_a" ] || fail "the bank key sent no new key-bank report: $report_b"
app_expect_look LOCK_AB bank_b differs bank_a "the bank indicator did not change for bank B"
screenshot bank_b
# More than a stray pixel or two: the indicator's own picture changed.
[ "$(app_look_differing bank_b bank_a)" -gt 50 ] || fail "the bank indicator changed only $(app_look_differing bank_b bank_a) pixels for bank B"
kbsim_ok "event 02FF" >/dev/null
for i in $(seq 1 50); do
  [ "$(kbsim_ctl bank || true)" = "$report_a" ] && break
  sleep 0.1
done
app_expect_look LOCK_AB bank_a2 same bank_a "bank indicator back on bank A"

# The skin's Cancel button hides the window; the program stays in the tray.
app_click_control CONTROL_CANCEL
app_wait_window hidden 10 || fail "Cancel did not hide the window"
expect_eq 1 "$(app_process_count)" "processes after Cancel"

# The menu button opens the main menu at the pointer; Escape closes the menu only.
wine_run Vendrel.exe || fail "the second start did not end by itself with code 0"
app_wait_window shown 20 || fail "the second start did not show the running instance again"
app_click_control CONTROL_MENU
for i in $(seq 1 50); do [ -n "$(app_other_windows)" ] && break; sleep 0.1; done
[ -n "$(app_other_windows)" ] || fail "the menu button opened no menu"
screenshot main_menu
xdotool key Escape
for i in $(seq 1 50); do [ -z "$(app_other_windows)" ] && break; sleep 0.1; done
expect_eq "" "$(app_other_windows)" "windows after Escape in the main menu"
expect_eq shown "$(app_window_state)" "window after Escape in the main menu"

# The skin's close button ends the program.
app_click_control CONTROL_CLOSE
app_wait_ended 20 || fail "the close button did not end the program"

wine_start "$E2E_WORK/app1.out" Vendrel.exe /Start
app_wait_started 60 || fail "the program did not start again after its close button"
wine_run Vendrel.exe /KILL || fail "/KILL did not end with code 0"
app_wait_ended 20 || fail "/KILL did not end the running instance"

wine_start "$E2E_WORK/app2.out" Vendrel.exe /Start
app_wait_started 60 || fail "the program did not start again"
wine_run Vendrel.exe /Start /Kill || fail "/Start /Kill did not end with code 0"
app_wait_ended 20 || fail "/Start /Kill did not end the running instance"
