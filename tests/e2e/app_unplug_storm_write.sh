#!/usr/bin/env bash
# A plug storm while Apply writes the keyboard: 200 detach/attach pairs, paced like a flaky cable,
# begin once the key map packets have. The program survives and ends connected with the
# "connected" icon and a connect refresh after the last attach. The write either outlasts the storm
# through its packets' retries, or fails: then the user is told once, the change stays pending,
# and the next Apply writes it whole. Either way the keyboard and the cache file end with the
# user's settings.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/unplug_helpers.sh"
harness_init app_unplug_storm_write
E2E_FORCE_XVFB=1 start_display
# Slow replies, so that the storm lands inside the transfer.
start_kbsim --attached --latency-us 20000
ds_user_keyboard
cache=$(app_cache_file)

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 90 || fail "the window did not open with the keyboard attached"
ds_wait_settled_file "$cache" 60 || fail "no cache file after the connect"
cache_before=$(ds_hash "$cache")

# Restore defaults (Yes) writes profile 1's factory map; the storm begins with its key map packets.
mark=$(ds_log_mark)
ds_restore_defaults_yes
for i in $(seq 1 200); do
  [ "$(ds_requests_since "$mark" 08)" -ge 1 ] && break
  sleep 0.05
done
[ "$(ds_requests_since "$mark" 08)" -ge 1 ] || fail "no key map write began"
# A short storm (STORM_PAIRS=20) is outlasted by the retries: the "written" way below.
unplug_storm_paced "${STORM_PAIRS:-200}" 0.005
e2e_log "storm over after $(ds_requests_since "$mark" 08) key map packet(s)"

marker="$(app_user_folder)/\$Profile0.writing"
outcome=""
for i in $(seq 1 150); do
  if ds_boxes | grep -qF -- "$DS_WRITE_FAILED"; then
    outcome=failed
    break
  fi
  if [ ! -e "$marker" ] && [ "$(ds_hash "$cache")" != "$cache_before" ]; then
    outcome=written
    break
  fi
  sleep 0.2
done
e2e_log "the write during the storm: ${outcome:-neither failed nor finished}"
case "$outcome" in
  failed)
    expect_eq 1 "$(ds_boxes | wc -l)" "message boxes after the storm"
    ds_answer 1
    unplug_expect_followed 60 "storm during Apply"
    [ -s "$marker" ] || fail "the settings being written are not kept beside the cache"
    expect_eq "$cache_before" "$(ds_hash "$cache")" "cache file after the failed write"

    ds_apply_pending "after the storm"
    ;;
  written)
    unplug_expect_followed 60 "storm during Apply"
    wine_run Vendrel.exe
    app_wait_window shown 20 || fail "the second start did not show the window"
    ;;
  *) fail "the write neither failed nor finished within 30 s of the storm; boxes: $(ds_boxes)" ;;
esac
screenshot after_storm_and_apply

after=$(kbsim_ok "read keymap 0 1134" | tr a-f A-F)
expect_eq "$FACTORY" "${after:0:756}" "profile 1 key map after the second Apply"
expect_eq 02021A "${after:2*756+POS_Q*6:6}" "profile 3 entry of Q"
expect_eq "$DS_MACRO_IMAGE" "$(kbsim_ok "read macro 0 $DS_MACRO_BYTES" | tr a-f A-F)" "macro memory"
[ -e "$(app_user_folder)/\$Profile0.writing" ] && fail "the unfinished-write file stayed after a whole write"
ds_check_cache_defaults "$cache"
expect_eq disabled "$(ds_apply_state)" "Apply after the write went through"
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
