#!/usr/bin/env bash
# The lighting panel shows the keyboard's active profile and follows the keyboard's own changes.
# With profile 2 (of 0..2) active on the keyboard, its block set apart (mode 11, brightness 2),
# and the light switch stored on, the panel opens on that block: the combo names mode 11, and a
# brightness click writes only that profile's brightness (area offset 85). When the keyboard
# changes its lighting by itself and reports it, the panel reads it again: the combo names the
# new mode and shows that mode's controls, and the program writes nothing back.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/lighting_helpers.sh"
harness_init app_lighting_profile
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

PROFILE=2
BASE=$((PROFILE * LT_BLOCK_SIZE))
kbsim_ok "write info 10 $(printf %02X "$PROFILE")" >/dev/null
kbsim_ok "write lighting $((BASE + LT_MODE)) 0B02" >/dev/null  # mode 11, brightness 2
lt_write_switch 1

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
lt_wait_selected_name "$(lt_mode_name 11)" 20 ||
  fail "the mode combo does not name profile 2's mode 11: \"$(lt_combo_selected_name)\""
app_pointer_aside
screenshot profile_2_mode_11

# ---- brightness: profile 2's field only ----
before=$(lt_area)
mark=$(ds_log_mark)
lt_click_slider CONTROL_LightSlider 4
lt_wait_field "$PROFILE" "$LT_BRIGHTNESS" 04 || fail "profile 2's brightness after the slider: $(lt_field "$PROFILE" "$LT_BRIGHTNESS")"
expect_eq "$((BASE + LT_BRIGHTNESS)):04" "$(lt_writes_done "$mark")" "writes of the brightness click"
expect_eq "$((BASE + LT_BRIGHTNESS)):02>04" "$(lt_area_diff "$before" "$(lt_area)")" "lighting bytes changed by the brightness click"

# ---- the keyboard changes its own lighting ----
# mode | the controls it shows: speed slider, direction image, colour B button, red colour choice
CHANGES=(
  "17|h h h v"
  "1|v v v h"
)
CONTROLS=(IDC_SPEED_SLIDER IDC_DIRECTION_FIRST IDC_COLOUR_B_BUTTON IDC_CHOICE_RED)
for row in "${CHANGES[@]}"; do
  IFS='|' read -r mode shown <<<"$row"
  kbsim_ok "write lighting $((BASE + LT_MODE)) $(printf %02X "$mode")" >/dev/null
  before=$(lt_area)
  mark=$(ds_log_mark)
  kbsim_ok "event 0401" >/dev/null
  lt_wait_selected_name "$(lt_mode_name "$mode")" 20 ||
    fail "the mode combo does not name mode $mode after the keyboard's change: \"$(lt_combo_selected_name)\""
  expect_eq "$shown" "$(lt_shown "${CONTROLS[@]}")" "speed, direction, colour B and colour choice shown after the change to mode $mode"
  lt_wait_transfer "$mark" || fail "the lighting was not read again after the keyboard's report"
  expect_eq "" "$(lt_lighting_writes "$mark")" "lighting writes after the keyboard's report"
  expect_eq "" "$(lt_area_diff "$before" "$(lt_area)")" "lighting bytes changed after the keyboard's report"
  app_pointer_aside
  screenshot "keyboard_changed_to_mode_$mode"
done

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
