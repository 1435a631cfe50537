#!/usr/bin/env bash
# A key set through the key-setting dialog reaches the keyboard: a click on key A of the keyboard
# picture opens the dialog, a press of B on its single-key tab chooses B, OK stores it and the main
# window's Apply writes it; the keyboard's key map of the active profile then sends B at A's
# place, and the cache file holds the assignment. Clear on A and Apply bring the factory entry back.
# Screenshots show the dialog on each of its tabs.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/key_dialog_helpers.sh"
harness_init app_key_remap
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

SLOT_A=$((0x1E))
KEY_B=$((0x30))

FACTORY=$(kbsim_ok "read defaultmap 0 378" | tr a-f A-F)
POS_A=""
for ((i = 0; i < 126; i++)); do
  [ "${FACTORY:i*6:6}" = 020204 ] && POS_A=$i && break
done
[ -n "$POS_A" ] || fail "factory map lacks A"
profile=$((16#$(kbsim_ok "read info 10 1")))
e2e_log "active profile $profile, A at matrix position $POS_A"

# The key map entry of A's place in the active profile.
entry_of_a() { kbsim_ok "read keymap $((profile * 378 + POS_A * 3)) 3" | tr a-f A-F; }

# "TYPE VALUE" of record SLOT of the active profile in the cache file.
cache_record() { cache_record_of "$cache" "$profile" "$1" | cut -d' ' -f1-2; }

# Waits until the keyboard's entry of A's place is HEX.
wait_entry() {
  local hex=$1 i
  for ((i = 0; i < 100; i++)); do
    [ "$(entry_of_a)" = "$hex" ] && return 0
    sleep 0.2
  done
  return 1
}

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open with the keyboard attached"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
expect_eq 020204 "$(entry_of_a)" "A's entry before the remap"
expect_eq disabled "$(ds_apply_state)" "Apply before any change"

# A -> B through the single-key tab.
app_click_control KEY_01E
wait_dialog shown || fail "a click on A did not open the key-setting dialog"
screenshot dialog_single_key
xdotool key b
sleep 0.5
screenshot dialog_single_key_b
for tab in CONTROL_MACRO CONTROL_MEDIA CONTROL_FUNCTION; do
  dialog_click "$tab"
  screenshot "dialog_${tab#CONTROL_}"
done
dialog_click CONTROL_KEY
screenshot dialog_single_key_again
dialog_click CONTROL_OK
wait_dialog hidden || fail "OK did not close the dialog"
expect_eq 020204 "$(entry_of_a)" "A's entry before Apply: OK only stores"
expect_eq enabled "$(ds_apply_state)" "Apply after OK"
screenshot main_after_ok

# Waits until the write has ended as a whole write does: Apply disabled (only a written and cached
# write turns it off, after any box the write had to show) and the cache file holding RECORD for A.
wait_written() {
  local record=$1 i
  for ((i = 0; i < 100; i++)); do
    [ "$(ds_apply_state)" = disabled ] && [ "$(cache_record "$SLOT_A")" = "$record" ] && return 0
    sleep 0.2
  done
  return 1
}

app_click_control CONTROL2_APPLY
wait_entry 020205 || fail "A's place does not send B after Apply: $(entry_of_a)"
wait_written "2 $KEY_B" || fail "the write did not end whole: Apply $(ds_apply_state), cache record of A $(cache_record "$SLOT_A")"
expect_eq "" "$(ds_boxes)" "message boxes after Apply"

# Clear on A: the factory entry comes back.
app_click_control KEY_01E
wait_dialog shown || fail "the dialog did not open again on A"
screenshot dialog_reopened_b
dialog_click CONTROL_CLEAR
screenshot dialog_cleared
dialog_click CONTROL_OK
wait_dialog hidden || fail "OK did not close the dialog after Clear"
app_click_control CONTROL2_APPLY
wait_entry 020204 || fail "A's place did not get its factory entry back: $(entry_of_a)"
wait_written "0 0" || fail "the write after Clear did not end whole: Apply $(ds_apply_state), cache record of A $(cache_record "$SLOT_A")"
expect_eq "" "$(ds_boxes)" "message boxes after the Apply of Clear"
screenshot main_after_clear

# Back in the tray after the key-setting dialog: nothing goes on following the pointer that rested
# on the window, so the program does not wake while nothing happens.
app_click_control CONTROL_CANCEL
app_wait_window hidden 10 || fail "Cancel did not hide the window"
sleep 2
pid=$(app_pids | head -n1)
[ -n "$pid" ] || fail "no program process"
woke=$(app_wakeups_during "$pid" 5)
e2e_log "wake-ups in 5 s in the tray after the key-setting dialog: $woke"
[ "$woke" -le 2 ] || fail "the program woke $woke times in 5 s in the tray"

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
