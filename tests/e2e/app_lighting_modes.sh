#!/usr/bin/env bash
# The lighting modes picked on the panel reach the keyboard field by field.
# A click on the light switch (its settings folder present) turns it on and stores DengCheck=1.
# Picking mode 7 in the mode combo writes the mode, then the multicolour state as the factory
# block holds it (on), and nothing else of the lighting area; the speed slider at its left end
# writes speed 5. A palette colour chosen on colour button B writes multicolour off before the
# colour's three bytes, and the multicolour toggle shows off. Each further mode writes its number
# (and, for the modes that take it, the multicolour state, now off) and shows its own controls;
# the multicolour toggle of colour group A shows off too, and a click on it turns multicolour on.
# Screenshots show the panel in modes 7, 12, 17 and 18.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/lighting_helpers.sh"
harness_init app_lighting_modes
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

CELL=7  # a palette cell whose colour is in no factory block
profile=$((16#$(kbsim_ok "read info 10 1")))
base=$((profile * LT_BLOCK_SIZE))
e2e_log "active profile $profile"
expect_eq 120503 "$(lt_field "$profile" 0 3)" "factory mode, brightness and speed"
expect_eq FF "$(lt_field "$profile" "$LT_MULTICOLOUR")" "factory multicolour"

# The folder without the file: the switch starts off and the click may write it.
mkdir -p "$(lt_switch_folder)"
# The program runs longer than the default time limit of a Wine program.
E2E_WINE_TIMEOUT=220 wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
app_pointer_aside
expect_eq hidden "$(lt_visible IDC_MODE_COMBO)" "mode combo while the switch is off"
screenshot switch_off

app_click_control CONTROL_DengStaPic
lt_wait_visible IDC_MODE_COMBO visible || fail "the mode combo did not show after the light switch"
expect_eq 1 "$(lt_switch_value)" "DengCheck after the light switch"
# The factory mode 18 shows its direction images once the keyboard's block was read.
lt_wait_visible IDC_DIRECTION_FIRST visible 20 || fail "the panel does not show the factory mode 18"
lt_wait_selected_name "$(lt_mode_name 18)" || fail "the mode combo does not name the factory mode 18"

# ---- mode 7: the mode, then multicolour as it is ----
before=$(lt_area)
mark=$(ds_log_mark)
lt_pick_mode 7
lt_wait_field "$profile" "$LT_MULTICOLOUR" 01 || fail "multicolour after mode 7: $(lt_field "$profile" "$LT_MULTICOLOUR")"
expect_eq "$base:07 $((base + LT_MULTICOLOUR)):01" "$(lt_writes_done "$mark")" "writes of the mode 7 pick"
expect_eq "$base:12>07 $((base + LT_MULTICOLOUR)):FF>01" "$(lt_area_diff "$before" "$(lt_area)")" "lighting bytes changed by the mode 7 pick"
app_pointer_aside
screenshot mode_07
lt_inner_look CONTROL_HXsjsStaPic multicolour_on

# ---- speed slider at its left end ----
before=$(lt_area)
lt_click_slider CONTROL_SpeedSlider 0
lt_wait_field "$profile" "$LT_SPEED" 05 || fail "speed after the slider's left end: $(lt_field "$profile" "$LT_SPEED")"
expect_eq "$((base + LT_SPEED)):03>05" "$(lt_area_diff "$before" "$(lt_area)")" "lighting bytes changed by the speed slider"

# ---- a colour on button B: multicolour off first ----
rgb=$(lt_palette_rgb "$CELL")
before=$(lt_area)
mark=$(ds_log_mark)
lt_pick_palette_cell CONTROL_HXysButton "$CELL"
lt_wait_field "$profile" "$LT_COLOUR" "$rgb" || fail "colour after palette cell $CELL: $(lt_field "$profile" "$LT_COLOUR" 3)"
expect_eq "$((base + LT_MULTICOLOUR)):00 $((base + LT_COLOUR)):$rgb" "$(lt_writes_done "$mark")" "writes of the colour pick, in order"
expect_eq "$((base + LT_MULTICOLOUR)):01>00 $((base + LT_COLOUR)):FF>${rgb:0:2} $((base + LT_COLOUR + 1)):00>${rgb:2:2} $((base + LT_COLOUR + 2)):00>${rgb:4:2}" \
  "$(lt_area_diff "$before" "$(lt_area)")" "lighting bytes changed by the colour pick"
expect_eq "$rgb" "$(lt_centre_colour CONTROL_HXysButton)" "colour button B after the pick"
lt_expect_inner_look CONTROL_HXsjsStaPic multicolour_off differs multicolour_on "colour group B's multicolour toggle still shows on"
screenshot mode_07_colour

# ---- further modes: what each writes and which controls it shows ----
# mode | bytes written after the mode (multicolour, now off, for the modes that take it) |
# speed slider, direction image, colour A button, colour B button, red colour choice (v/h)
MODES=(
  "12||v v h h h"
  "17||h h h h v"
  "18||h v h h h"
  "7|00|v h h v h"
  "6||h h v h h"
)
CONTROLS=(IDC_SPEED_SLIDER IDC_DIRECTION_FIRST IDC_COLOUR_A_BUTTON IDC_COLOUR_B_BUTTON IDC_CHOICE_RED)
for row in "${MODES[@]}"; do
  IFS='|' read -r mode multicolour shown <<<"$row"
  hex=$(printf %02X "$mode")
  before=$(lt_area)
  mark=$(ds_log_mark)
  lt_pick_mode "$mode"
  lt_wait_field "$profile" "$LT_MODE" "$hex" || fail "mode field after picking $mode: $(lt_field "$profile" "$LT_MODE")"
  expected="$base:$hex"
  [ -n "$multicolour" ] && expected+=" $((base + LT_MULTICOLOUR)):$multicolour"
  expect_eq "$expected" "$(lt_writes_done "$mark")" "writes of the mode $mode pick"
  expect_eq "$base:${before:base*2:2}>$hex" "$(lt_area_diff "$before" "$(lt_area)")" "lighting bytes changed by the mode $mode pick"
  expect_eq "$shown" "$(lt_shown "${CONTROLS[@]}")" "speed, direction, colour A, colour B and colour choice shown in mode $mode"
  app_pointer_aside
  case "$mode" in 12 | 17 | 18) screenshot "mode_$mode" ;; esac
done

# Mode 6 shows colour group A, whose toggle holds the same place as group B's.
lt_expect_inner_look CONTROL_FYSJSStaPic multicolour_a_off same multicolour_off "colour group A's multicolour toggle does not show off"
mark=$(ds_log_mark)
app_click_control CONTROL_FYSJSStaPic
lt_wait_field "$profile" "$LT_MULTICOLOUR" 01 || fail "multicolour after a click on group A's toggle"
expect_eq "$((base + LT_MULTICOLOUR)):01" "$(lt_writes_done "$mark")" "writes of the multicolour toggle"
app_pointer_aside
lt_expect_inner_look CONTROL_FYSJSStaPic multicolour_a_on same multicolour_on "colour group A's multicolour toggle does not show on"
screenshot mode_06_multicolour

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
