#!/usr/bin/env bash
# A keyboard that cannot be read when the program connects is never overwritten with defaults:
# the keyboard holds the user's key maps and a macro and the cache file holds them from an earlier
# run; then the keyboard stops answering. The program says it could not read the keyboard,
# Restore defaults (answered Yes) tries to read it again and says so again, Apply is disabled and,
# asked for all the same, sends nothing and says nothing, and the keyboard's memory and the cache
# file stay byte for byte what they were.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
harness_init app_failed_refresh
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
ds_user_keyboard
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

# A good run first: it reads the keyboard whole into the cache file.
wine_start "$E2E_WORK/first.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open with the keyboard attached"
ds_wait_settled_file "$cache" 30 || fail "no cache file after a good connect"
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the first run"
cp "$cache" "$E2E_WORK/cache-before"
cache_before=$(ds_hash "$cache")
memory_before=$(ds_keyboard_memory)
expect_eq "$DS_MACRO_IMAGE" "$(kbsim_ok "read macro 0 $DS_MACRO_BYTES" | tr a-f A-F)" "macro memory after a good run"

# The keyboard stops answering: every read of the connect refresh runs out of attempts.
mark=$(ds_log_mark)
kbsim_ok "fault drop 1000" >/dev/null
wine_start "$E2E_WORK/app.out" Vendrel.exe
box=$(ds_wait_box "$DS_READ_FAILED" 90) || fail "no message that the keyboard could not be read; boxes: $(ds_boxes)"
e2e_log "after the connect: $box"
screenshot read_failed_on_connect
expect_eq 1 "$(ds_boxes | grep -cF "$DS_READ_FAILED")" "message boxes saying the read failed"
ds_answer 1
expect_eq "$cache_before" "$(ds_hash "$cache")" "cache file after the failed connect refresh"

# Refused at once from now on, so that the re-read of Restore defaults fails quickly too.
kbsim_ok "fault status ff 1000" >/dev/null
[ "$(app_window_state)" = shown ] || wine_run Vendrel.exe
app_wait_window shown 20 || fail "the window is not on the screen"
ds_restore_defaults_yes
box=$(ds_wait_box "$DS_READ_FAILED" 30) || fail "Restore defaults on an unread keyboard did not say it could not read it; boxes: $(ds_boxes)"
e2e_log "after Restore defaults: $box"
screenshot read_failed_on_restore_defaults
ds_answer 1
expect_eq disabled "$(ds_apply_state)" "Apply after the refused Restore defaults"
# A click on the disabled button never reaches the program; its command, posted, does (as a
# keyboard shortcut or another window's message would). Restore defaults posted after it asks its
# question only once the window has handled the Apply: then no other box may show. Answered No.
post_click() {
  local out
  _e2e_wine_used=1
  out=$(timeout 30 wine "$E2E_PROBES/window_command_probe.exe" click "$APP_TITLE" "$1" 2>/dev/null | tr -d '\r')
  [ "$out" = posted ] || fail "the click of control $1 was not posted: $out"
}
post_click "$DS_APPLY_ID"
post_click "$(sed -n 's/^#define IDC_DEFAULT \([0-9]*\).*/\1/p' "$E2E_REPO/src/app/resource_ids.h")"
ds_wait_box "$DS_PROMPT_DEFAULT" 20 >/dev/null || fail "Restore defaults posted after Apply asked nothing; boxes: $(ds_boxes)"
expect_eq 1 "$(ds_boxes | wc -l)" "message boxes after the posted Apply"
ds_answer 7
expect_eq "" "$(ds_boxes)" "message boxes after the posted Apply and Restore defaults answered No"

# Nothing was sent to the keyboard's memory and nothing changed on the disk.
for code in 01 08 0A; do
  expect_eq 0 "$(ds_requests_since "$mark" "$code")" "requests with command $code while the keyboard could not be read"
done
kbsim_ok "fault clear" >/dev/null
expect_eq "$memory_before" "$(ds_keyboard_memory)" "keyboard memory"
expect_eq "$cache_before" "$(ds_hash "$cache")" "cache file"
[ -e "$(app_user_folder)/\$Profile0.writing" ] && fail "a write was begun: the unfinished-write file exists"
leftovers=$(find "$(app_user_folder)" -name '*.tmp~' | wc -l)
expect_eq 0 "$leftovers" "temporary files in the user folder"
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
