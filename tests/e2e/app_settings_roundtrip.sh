#!/usr/bin/env bash
# Export from the main menu, then Import of the exported file into a keyboard reset to its factory
# state: the keyboard ends up byte for byte as it was before (its three key maps and its whole
# macro memory), and the cache file equals the exported file.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/settings_transfer_helpers.sh"
harness_init app_settings_roundtrip
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

# The keyboard of its owner: keys changed on the first and the third profile, and a macro.
ds_user_keyboard
files=$(st_folder)
saved="$files/saved.fwc"

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open with the keyboard attached"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
keyboard_before=$(st_keyboard_settings)

st_menu_export
st_file_dialog "Save As" "$(st_windows_path "$saved")"
ds_wait_settled_file "$saved" 20 || fail "the export wrote no file"
expect_eq "" "$(ds_boxes)" "message boxes after the export"
expect_eq "$keyboard_before" "$(st_keyboard_settings)" "keyboard after the export"

kbsim_ok reset >/dev/null
factory=$(st_keyboard_settings)
[ "$factory" != "$keyboard_before" ] || fail "the reset changed nothing to compare"

st_menu_import
st_file_dialog Open "$(st_windows_path "$saved")"
st_wait_keyboard "$keyboard_before" 40 || {
  expect_eq "$keyboard_before" "$(st_keyboard_settings)" "keyboard after importing the exported file"
}
ds_wait_settled_file "$cache" 20 || fail "the cache file did not settle after the import"
expect_eq "" "$(ds_boxes)" "message boxes after the import"
expect_eq "$(ds_hash "$saved")" "$(ds_hash "$cache")" "cache file against the exported file"
screenshot after_import

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
