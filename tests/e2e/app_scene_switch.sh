#!/usr/bin/env bash
# The profile buttons switch the keyboard's profile. A click on the profile 2 button makes the
# keyboard's active profile 1 (of 0..2), checks that button and unchecks the first, and the
# lighting panel shows profile 1's block (its report rate) without writing any lighting. With an
# edit not applied, the switch asks first: No throws the edit away (nothing reaches the keyboard,
# Apply goes off, and a later Apply saves a store without it: the store was the cache file again),
# Yes writes the edit to the old profile before the keyboard changes profile. The scene button's
# menu switches too.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/key_dialog_helpers.sh"
source "$(dirname "$0")/scene_helpers.sh"
harness_init app_scene_switch
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

sc_keyboard_with_two_rates
FACTORY=$(kbsim_ok "read defaultmap 0 378" | tr a-f A-F)
POS_A="" POS_Q=""
for ((i = 0; i < 126; i++)); do
  case "${FACTORY:i*6:6}" in
    020204) POS_A=$i ;;
    020214) POS_Q=$i ;;
  esac
done
[ -n "$POS_A" ] && [ -n "$POS_Q" ] || fail "factory map lacks A or Q"
SLOT_A=$((0x1E))
SLOT_Q=$((0x10))

# The key map entry at POS of PROFILE.
entry() { kbsim_ok "read keymap $(($1 * 378 + $2 * 3)) 3" | tr a-f A-F; }
wait_entry() {
  local i
  for ((i = 0; i < 100; i++)); do
    [ "$(entry "$1" "$2")" = "$3" ] && return 0
    sleep 0.2
  done
  return 1
}

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
app_pointer_aside
for key in FUNC_PROFILE1 FUNC_PROFILE2 FUNC_REPORT1 FUNC_REPORT4; do app_look "$key" "start_$key"; done
screenshot start

# ---- profile 2 without edits: no question ----
lighting_before=$(kbsim_ok "read lighting 0 126")
app_click_control FUNC_PROFILE2
sc_wait_active 1 || fail "the keyboard's active profile after the profile 2 button: $(sc_active)"
expect_eq "" "$(ds_boxes)" "message boxes after a switch without edits"
app_pointer_aside
app_expect_look FUNC_PROFILE2 p2_on differs start_FUNC_PROFILE2 "the profile 2 button is not checked"
app_expect_look FUNC_PROFILE1 p1_off differs start_FUNC_PROFILE1 "the profile 1 button is still checked"
app_expect_look FUNC_REPORT4 r4_on differs start_FUNC_REPORT4 "the panel does not show profile 1's 1000 Hz"
app_expect_look FUNC_REPORT1 r1_off differs start_FUNC_REPORT1 "the panel still shows profile 0's 125 Hz"
expect_eq "$lighting_before" "$(kbsim_ok "read lighting 0 126")" "lighting after the profile button"
screenshot profile_2

# ---- an edit on profile 1, then the profile 1 button answered No ----
sc_edit_a_to_b
memory_before=$(ds_keyboard_memory)
cache_before=$(ds_hash "$cache")
app_click_control FUNC_PROFILE1
ds_wait_box "$SC_PROMPT_SAVE" || fail "no question about the unapplied edit: $(ds_boxes)"
screenshot question
ds_answer 7
sc_wait_active 0 || fail "the keyboard's active profile after No: $(sc_active)"
expect_eq disabled "$(ds_apply_state)" "Apply after No"
expect_eq "$memory_before" "$(ds_keyboard_memory)" "the keyboard's key maps and macros after No"
expect_eq "$cache_before" "$(ds_hash "$cache")" "the cache file after No"
app_pointer_aside
app_expect_look FUNC_PROFILE1 p1_back same start_FUNC_PROFILE1 "the profile 1 button is not checked again"
app_expect_look FUNC_REPORT1 r1_back same start_FUNC_REPORT1 "the panel does not show profile 0's 125 Hz again"
# A later edit and Apply save the whole store: the thrown-away edit must not be in it.
app_click_control KEY_010
wait_dialog shown || fail "a click on Q did not open the key-setting dialog"
xdotool key w
sleep 0.5
dialog_click CONTROL_OK
wait_dialog hidden || fail "OK did not close the dialog on Q"
app_click_control CONTROL2_APPLY
wait_entry 0 "$POS_Q" 02021A || fail "Q does not send W after Apply: $(entry 0 "$POS_Q")"
sleep 1
ds_wait_settled_file "$cache" 30 || fail "the cache file did not settle after Apply"
expect_eq "0 0" "$(cache_record_of "$cache" 1 "$SLOT_A" | cut -d' ' -f1-2)" "profile 1's A in the cache file: the edit answered No"
expect_eq "2 17" "$(cache_record_of "$cache" 0 "$SLOT_Q" | cut -d' ' -f1-2)" "profile 0's Q in the cache file"
expect_eq 020204 "$(entry 1 "$POS_A")" "profile 1's A on the keyboard"

# ---- an edit on profile 0, then the profile 2 button answered Yes ----
sc_edit_a_to_b
mark=$(ds_log_mark)
app_click_control FUNC_PROFILE2
ds_wait_box "$SC_PROMPT_SAVE" || fail "no question about the unapplied edit: $(ds_boxes)"
ds_answer 6
sc_wait_active 1 20 || fail "the keyboard's active profile after Yes: $(sc_active)"
wait_entry 0 "$POS_A" 020205 || fail "profile 0's A does not send B after Yes: $(entry 0 "$POS_A")"
expect_eq 020204 "$(entry 1 "$POS_A")" "profile 1's A after Yes"
last_map_write=$(sc_request_lines "$mark" 08 | tail -n1)
first_info_write=$(sc_request_lines "$mark" 04 | head -n1)
[ -n "$last_map_write" ] && [ -n "$first_info_write" ] || fail "no key map or profile write after Yes"
[ "$last_map_write" -lt "$first_info_write" ] ||
  fail "the profile changed (log line $first_info_write) before the edit was written ($last_map_write)"
sleep 1
ds_wait_settled_file "$cache" 30 || fail "the cache file did not settle after Yes"
expect_eq "2 48" "$(cache_record_of "$cache" 0 "$SLOT_A" | cut -d' ' -f1-2)" "profile 0's A in the cache file after Yes"
expect_eq disabled "$(ds_apply_state)" "Apply after Yes"
app_pointer_aside
app_expect_look FUNC_PROFILE2 p2_again same p2_on "the profile 2 button is not checked after Yes"
screenshot after_yes

# ---- the scene menu ----
app_click_control FUNC_SCENE_MENU
for ((i = 0; i < 25; i++)); do
  [ -n "$(app_other_windows)" ] && break
  sleep 0.2
done
[ -n "$(app_other_windows)" ] || fail "the scene button showed no menu"
screenshot scene_menu
# Down to the third profile's entry: the default entry, (the separator is skipped), 1, 2, 3.
xdotool key Down Down Down Down Return
sc_wait_active 2 || fail "the keyboard's active profile after the menu's third entry: $(sc_active)"
expect_eq "" "$(ds_boxes)" "message boxes after the menu's switch"

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
