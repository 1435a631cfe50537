#!/usr/bin/env bash
# A write cut in the middle by an unplug: the keyboard then holds part of the new key map and part
# of the old one. After plugging in again the program does not take that torn state for the user's
# settings: the change stays pending, and the next Apply writes it whole; the keyboard and the cache
# file end with the user's settings.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
harness_init app_torn_write
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
ds_user_keyboard
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 90 || fail "the window did not open with the keyboard attached"
ds_wait_settled_file "$cache" 60 || fail "no cache file after the connect"
cache_before=$(ds_hash "$cache")

# Restore defaults (Yes) writes profile 1's factory map; kbsim pulls the keyboard out right after
# it has taken the second key map packet, before answering it: the same tear on every run, however
# fast or slow the machine.
mark=$(ds_log_mark)
kbsim_ok "detach-after 2 08" >/dev/null
ds_restore_defaults_yes
box=$(ds_wait_box "$DS_WRITE_FAILED" 40) || fail "no message that the write failed; boxes: $(ds_boxes)"
tail -n +"$((mark + 1))" "$KBSIM_LOG" | grep -qE '^[0-9]+ A 00$' || fail "the keyboard was not pulled out during the write"
expect_eq 2 "$(ds_requests_since "$mark" 08)" "key map packets the keyboard took before it was pulled out"
e2e_log "after the unplug: $box"
expect_eq 1 "$(ds_boxes | wc -l)" "message boxes after the torn write"
ds_answer 1
torn=$(kbsim_ok "read keymap 0 1134" | tr a-f A-F)
expect_eq 020205 "${torn:POS_LATE*6:6}" "last plain key of profile 1 after the torn write (the write was not torn)"
[ -s "$(app_user_folder)/\$Profile0.writing" ] || fail "the settings being written are not kept beside the cache"
expect_eq "$cache_before" "$(ds_hash "$cache")" "cache file after the torn write"

# Plugged in again: the torn keyboard is not read as the user's settings; the change is pending.
kbsim_ok attach >/dev/null
app_wait_tray connected 30 || fail "tray icon after the attach: $(app_tray_icon)"
ds_apply_pending "after plugging in again"
screenshot applied_again

# Whole: profile 1 is the factory map, profile 3 keeps its own key, the macro is still there.
after=$(kbsim_ok "read keymap 0 1134" | tr a-f A-F)
expect_eq "$FACTORY" "${after:0:756}" "profile 1 key map after the second Apply"
expect_eq 02021A "${after:2*756+POS_Q*6:6}" "profile 3 entry of Q"
expect_eq "$DS_MACRO_IMAGE" "$(kbsim_ok "read macro 0 $DS_MACRO_BYTES" | tr a-f A-F)" "macro memory"
[ -e "$(app_user_folder)/\$Profile0.writing" ] && fail "the unfinished-write file stayed after a whole write"
ds_check_cache_defaults "$cache"
expect_eq disabled "$(ds_apply_state)" "Apply after the write went through"
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
