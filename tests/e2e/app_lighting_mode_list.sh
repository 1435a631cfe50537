#!/usr/bin/env bash
# The mode combo offers exactly the modes the keyboard lists, under the skin's names.
# A keyboard whose mode list holds only zeros gives an empty combo with nothing selected; one
# listing 0, 5, 0, 18 (the rest zeros) gives two entries, the skin's names of 5 and 18 in that
# order, and the factory block's mode 18 selected. Each list is the keyboard's before the
# program starts.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/lighting_helpers.sh"
harness_init app_lighting_mode_list
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)
lt_write_switch 1

MODE_LIST_OFFSET=12
MODE_LIST_SIZE=32

# The mode list: the given bytes (hex), then zeros up to its size.
write_mode_list() {
  local hex=$1
  while [ ${#hex} -lt $((MODE_LIST_SIZE * 2)) ]; do hex+=00; done
  kbsim_ok "write info $MODE_LIST_OFFSET $hex" >/dev/null
}

# list (hex); expected entries, "|"-joined; expected selection; screenshot
CASES=(
  ";;-1;mode_list_empty"
  "00050012;$(lt_mode_name 5)|$(lt_mode_name 18);1;mode_list_5_18"
)
run=0
for row in "${CASES[@]}"; do
  IFS=';' read -r list entries selected shot <<<"$row"
  run=$((run + 1))
  write_mode_list "$list"
  rm -f "$cache"
  wine_start "$E2E_WORK/app$run.out" Vendrel.exe
  app_wait_window shown 60 || fail "the window did not open (list \"$list\")"
  ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect (list \"$list\")"
  # Before the keyboard's block is read no mode is known and the mode's controls stay hidden;
  # factory mode 18 shows its direction images.
  lt_wait_visible IDC_DIRECTION_FIRST visible 20 || fail "the panel did not show the keyboard's block (list \"$list\")"
  expect_eq visible "$(lt_visible IDC_MODE_COMBO)" "mode combo with the switch on"
  expect_eq "$entries" "$(lt_combo_entries | paste -sd'|')" "mode combo entries for the list \"$list\""
  expect_eq "$selected" "$(lt_combo_selected)" "mode combo selection for the list \"$list\""
  app_pointer_aside
  screenshot "$shot"
  wine_run Vendrel.exe /Kill
  app_wait_ended 20 || fail "/Kill did not end the program"
done
