#!/usr/bin/env bash
# With the key-setting dialog open, a profile button (its click reaches the main window, which the
# modal dialog disables) shows the other profile's lighting but leaves the keyboard's active
# profile alone and tells the user to close the editor first. The profile buttons keep their
# checks, nothing is written to the keyboard's information block, and the dialog stays open.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/key_dialog_helpers.sh"
source "$(dirname "$0")/scene_helpers.sh"
harness_init app_scene_editor_open
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)
sc_keyboard_with_two_rates

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
app_pointer_aside
for key in FUNC_PROFILE1 FUNC_PROFILE2 FUNC_REPORT4; do app_look "$key" "start_$key"; done

app_click_control KEY_01E
wait_dialog shown || fail "a click on A did not open the key-setting dialog"
mark=$(ds_log_mark)
sc_post_click "$(sc_id IDC_PROFILE_2)"
ds_wait_box "$SC_PROMPT_EDITOR" || fail "no message about the open editor: $(ds_boxes)"
screenshot editor_message
expect_eq 0 "$(sc_active)" "the keyboard's active profile with the editor open"
ds_answer 1
expect_eq shown "$(dialog_state)" "the key-setting dialog after the message"
dialog_click CONTROL_CANCEL
wait_dialog hidden || fail "Cancel did not close the key-setting dialog"

app_pointer_aside
app_expect_look FUNC_REPORT4 r4_after differs start_FUNC_REPORT4 "the panel does not show profile 1's 1000 Hz"
app_expect_look FUNC_PROFILE1 p1_after same start_FUNC_PROFILE1 "the profile 1 button lost its check"
app_expect_look FUNC_PROFILE2 p2_after same start_FUNC_PROFILE2 "the profile 2 button changed"
expect_eq 0 "$(sc_active)" "the keyboard's active profile after the editor closed"
expect_eq "" "$(sc_request_lines "$mark" 04)" "writes of the information block"
screenshot after_editor

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
