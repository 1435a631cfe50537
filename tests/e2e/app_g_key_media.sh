#!/usr/bin/env bash
# A G key set through the key-setting dialog lands in the G record of the bank the keyboard shows.
# A click on G1 opens the dialog (G1 stays lit while it is open); the fourth function of the
# multimedia tab, OK and the main window's Apply put a Media assignment with index 3 into G1's
# record of bank A in the cache file, and leave the keyboard's key maps as they were (G keys are
# not in them). The keyboard's bank key then switches to bank B (the bank indicator follows), and
# G2 opens on its bank-B record, slot 266: a key chosen there is found in record 266 after Apply,
# while G2's bank-A record stays empty. A second press of the bank key brings the indicator back.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/key_dialog_helpers.sh"
harness_init app_g_key_media
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

SLOT_G1_BANK_A=256
SLOT_G2_BANK_A=257
SLOT_G2_BANK_B=266
MEDIA_FOURTH=3
TYPE_MEDIA=7
TYPE_KEY=2
KEY_B=$((0x30))

profile=$((16#$(kbsim_ok "read info 10 1")))
e2e_log "active profile $profile"

key_maps() { kbsim_ok "read keymap 0 1134" | tr a-f A-F; }
record() { cache_record_of "$cache" "$profile" "$1"; }

# Waits until record SLOT of the cache file reads EXPECTED.
wait_record() {
  local slot=$1 expected=$2 i
  for ((i = 0; i < 100; i++)); do
    [ -f "$cache" ] && [ "$(record "$slot")" = "$expected" ] && return 0
    sleep 0.2
  done
  return 1
}

# Waits until kbsim's last key-bank report is HEX (the program sends one at each bank switch).
wait_bank_report() {
  local hex=$1 i
  for ((i = 0; i < 50; i++)); do
    [ "$(kbsim_ctl bank | tr a-f A-F)" = "ok $hex" ] && return 0
    sleep 0.2
  done
  return 1
}

# Picks entry N (from 0) of the multimedia tab's drop-down list: open it, step down, close it.
choose_media() {
  local n=$1 x y w h i
  read -r x y w h <<<"$(dialog_control_rect FUNC_MEDIA_SELECT)"
  xdotool mousemove $((x + w / 2)) $((y + 10)) click 1
  sleep 0.5
  for ((i = 0; i < n; i++)); do xdotool key Down; done
  xdotool key F4
  sleep 0.5
}

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open with the keyboard attached"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
expect_eq "0 0 0" "$(record $SLOT_G1_BANK_A)" "G1's bank-A record before the edit"
maps_before=$(key_maps)

app_pointer_aside
app_look FUNC_G1 g1_normal
app_look LOCK_AB bank_a
read -r gx gy gw gh <<<"$(app_control_rect FUNC_G1)"
xdotool mousemove $((gx + gw / 2)) $((gy + gh / 2))
app_expect_look FUNC_G1 g1_hover differs g1_normal "G1 does not light under the pointer"

# G1 in bank A: the dialog opens, and G1 keeps its lit look with the pointer away from it.
xdotool click 1
wait_dialog shown || fail "a click on G1 did not open the key-setting dialog"
read -r dx dy dw dh <<<"$(dialog_control_rect CONTROL_MEDIA)"
xdotool mousemove $((dx + dw / 2)) $((dy + dh / 2))
sleep 0.5
lit=""
for ((i = 0; i < 25; i++)); do
  app_look FUNC_G1 g1_open
  near_hover=$(app_look_differing g1_open g1_hover)
  near_normal=$(app_look_differing g1_open g1_normal)
  [ "$near_normal" -gt 0 ] && [ $((near_hover * 4)) -lt "$near_normal" ] && lit=yes && break
  sleep 0.2
done
e2e_log "G1 while its dialog is open: $near_hover pixels from its hover look, $near_normal from its normal look"
[ -n "$lit" ] || fail "G1 is not lit while its dialog is open"
screenshot g1_dialog_open

dialog_click CONTROL_MEDIA
choose_media "$MEDIA_FOURTH"
screenshot g1_media_chosen
dialog_click CONTROL_OK
wait_dialog hidden || fail "OK did not close the dialog"
app_pointer_aside
app_expect_look FUNC_G1 g1_after differs g1_hover "G1 stayed lit after its dialog closed"
app_expect_look FUNC_G1 g1_after differs g1_normal "G1 does not show that it is set"
expect_eq enabled "$(ds_apply_state)" "Apply after OK"

app_click_control CONTROL2_APPLY
wait_record $SLOT_G1_BANK_A "$TYPE_MEDIA $MEDIA_FOURTH 0" ||
  fail "G1's bank-A record after Apply: $(record $SLOT_G1_BANK_A)"
ds_wait_settled_file "$cache" 30 || fail "cache file did not settle"
expect_eq disabled "$(ds_apply_state)" "Apply after the write"
expect_eq "" "$(ds_boxes)" "message boxes after Apply"
expect_eq "$maps_before" "$(key_maps)" "the keyboard's key maps after a G-key assignment"
screenshot main_after_g1

# The bank key: bank B, shown by the indicator.
kbsim_ok "event 02FF" >/dev/null
wait_bank_report 0503 || fail "the program did not switch the keyboard to bank B: $(kbsim_ctl bank)"
app_expect_look LOCK_AB bank_b differs bank_a "the bank indicator did not change for bank B"
screenshot main_bank_b

# G2 now edits its bank-B record.
app_click_control FUNC_G2
wait_dialog shown || fail "a click on G2 did not open the key-setting dialog"
xdotool key b
sleep 0.5
screenshot g2_dialog_key_b
dialog_click CONTROL_OK
wait_dialog hidden || fail "OK did not close the dialog on G2"
app_click_control CONTROL2_APPLY
wait_record $SLOT_G2_BANK_B "$TYPE_KEY $KEY_B 0" ||
  fail "G2's bank-B record after Apply: $(record $SLOT_G2_BANK_B)"
ds_wait_settled_file "$cache" 30 || fail "cache file did not settle after the bank-B edit"
expect_eq "0 0 0" "$(record $SLOT_G2_BANK_A)" "G2's bank-A record after editing bank B"
expect_eq "$TYPE_MEDIA $MEDIA_FOURTH 0" "$(record $SLOT_G1_BANK_A)" "G1's bank-A record after editing bank B"
expect_eq "$maps_before" "$(key_maps)" "the keyboard's key maps after the bank-B edit"

# A second press returns the keyboard and the indicator to bank A.
kbsim_ok "event 02FF" >/dev/null
wait_bank_report 0502 || fail "the program did not switch the keyboard back to bank A: $(kbsim_ctl bank)"
app_pointer_aside
app_expect_look LOCK_AB bank_a_again same bank_a "the bank indicator back in bank A"
screenshot main_bank_a_again

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
