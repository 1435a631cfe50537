#!/usr/bin/env bash
# Apply while the keyboard does not answer: the program says once that the settings could not be
# written, the cache file keeps the keyboard's settings, the change stays pending (Apply stays
# enabled), and once the link is back, Apply writes it and the cache file follows.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
harness_init app_apply_link_fault
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
ds_user_keyboard
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open with the keyboard attached"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
cache_before=$(ds_hash "$cache")
memory_before=$(ds_keyboard_memory)
expect_eq disabled "$(ds_apply_state)" "Apply with nothing changed"

# Restore defaults is the change; its Apply meets a keyboard that does not answer.
mark=$(ds_log_mark)
kbsim_ok "fault drop 100" >/dev/null
ds_restore_defaults_yes
box=$(ds_wait_box "$DS_WRITE_FAILED" 40) || fail "no message that the write failed; boxes: $(ds_boxes)"
e2e_log "after Apply: $box"
screenshot write_failed
expect_eq 1 "$(ds_boxes | wc -l)" "message boxes after the failed write"
ds_answer 1
# Once only: no second message follows.
for i in $(seq 1 10); do
  [ -z "$(ds_boxes)" ] || fail "another message box followed: $(ds_boxes)"
  sleep 0.3
done
expect_eq "$cache_before" "$(ds_hash "$cache")" "cache file after the failed write"
expect_eq "$memory_before" "$(ds_keyboard_memory)" "keyboard memory after the failed write"
expect_eq enabled "$(ds_apply_state)" "Apply after the failed write"
[ -s "$(app_user_folder)/\$Profile0.writing" ] || fail "the settings being written are not kept beside the cache"

# The link is back: Apply writes the pending change whole.
kbsim_ok "fault clear" >/dev/null
mark=$(ds_log_mark)
app_click_control CONTROL2_APPLY
wait_for_line "$KBSIM_LOG" " > 04[0-9A-F]{4}02" 20 || fail "no transfer after Apply"
for i in $(seq 1 100); do
  [ "$(ds_requests_since "$mark" 02)" -ge 1 ] && [ ! -e "$(app_user_folder)/\$Profile0.writing" ] && break
  sleep 0.1
done
expect_eq 1 "$(ds_requests_since "$mark" 01)" "transfers begun by the second Apply"
expect_eq 1 "$(ds_requests_since "$mark" 02)" "transfers ended by the second Apply"
expect_eq 020204 "$(kbsim_ok "read keymap $((POS_A * 3)) 3" | tr a-f A-F)" "profile 1 entry of A"
expect_eq "${FACTORY:POS_LATE*6:6}" "$(kbsim_ok "read keymap $((POS_LATE * 3)) 3" | tr a-f A-F)" "profile 1 entry of the last plain key"
expect_eq 02021A "$(kbsim_ok "read keymap $((2 * 378 + POS_Q * 3)) 3" | tr a-f A-F)" "profile 3 entry of Q"
expect_eq "$DS_MACRO_IMAGE" "$(kbsim_ok "read macro 0 $DS_MACRO_BYTES" | tr a-f A-F)" "macro memory"
[ -e "$(app_user_folder)/\$Profile0.writing" ] && fail "the unfinished-write file stayed after a whole write"
ds_check_cache_defaults "$cache"
expect_eq 0 "$(ds_boxes | wc -l)" "message boxes after the second Apply"
expect_eq disabled "$(ds_apply_state)" "Apply after the write went through"
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
