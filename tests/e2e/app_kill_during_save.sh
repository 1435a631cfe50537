#!/usr/bin/env bash
# The program killed at any moment of an Apply never leaves a torn cache file: round after round
# the keyboard gets its user's key back, the program starts, Restore defaults (Yes) writes, and
# the process is killed: in odd rounds right after the write's k-th key map packet (k = 1..7 in
# turn, read from kbsim's log), in even rounds a little later each time after its last one, across
# the end of the transfer and the cache save. The cache file is then byte for byte either the
# settings the connect read before the Apply or those after it, and a temporary file a kill leaves behind is
# gone after the next save. Some kills must land inside the write (its unfinished-write file, made
# before the first packet and removed after the cache file is saved, is left behind by them), or the
# run proved nothing.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
harness_init app_kill_during_save
E2E_FORCE_XVFB=1 start_display
# Replies slow enough that a kill aimed at a packet seen in the log still lands inside the write.
start_kbsim --attached --latency-us 20000
ds_user_keyboard
user_map=$(kbsim_ok "read keymap 0 378")
rm -rf "$(app_user_folder)"
folder=$(app_user_folder)
cache=$(app_cache_file)
: "${KILL_ROUNDS:=20}"

# Clicks Restore defaults and answers its question Yes as a person does, with the keyboard. A
# click that lands while the program is still busy with its connect read asks nothing; like a
# person, click once more then.
# The question's box carries the program's name as its title; the main window has a title of its
# own, and other short-lived windows of the program are no answer to wait for.
restore_defaults_yes() {
  local box="" i attempt
  for attempt in 1 2 3; do
    app_click_control FUNC_DEFAULT
    for i in $(seq 1 100); do
      box=$(xdotool search --onlyvisible --name "^Corvasse Vendrel Gaming Keyboard\$" 2>/dev/null | head -n1 || true)
      [ -n "$box" ] && break
      sleep 0.05
    done
    [ -n "$box" ] || continue
    if xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus "$box" 2>/dev/null; then
      xdotool key y && return 0
    fi
  done
  fail "Restore defaults asked nothing that could be answered"
}

start_and_restore_defaults() {
  kbsim_ok "write keymap 0 $user_map" >/dev/null
  wine_start "$E2E_WORK/round.out" Vendrel.exe
  app_wait_window shown 60 || fail "the window did not open with the keyboard attached"
  restore_defaults_yes
}

# Kills the program (process PID when given, found before the moment to aim at).
kill_program() {
  local pid=${1:-}
  [ -n "$pid" ] || pid=$(app_pids | head -n1)
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  app_wait_ended 20 || fail "the killed program did not end"
  wait "$WINE_PID" 2>/dev/null || true
}

# A round without a kill gives the two contents a cache file may have: the keyboard's settings as
# read at the connect, and the settings after Restore defaults.
wine_start "$E2E_WORK/reference.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open with the keyboard attached"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
old=$(ds_hash "$cache")
restore_defaults_yes
for i in $(seq 1 100); do [ "$(ds_hash "$cache")" != "$old" ] && break; sleep 0.1; done
ds_wait_settled_file "$cache" 10 || true
new=$(ds_hash "$cache")
[ "$new" != "$old" ] || fail "Restore defaults did not change the cache file"
ds_check_cache_defaults "$cache"
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the reference run"

# What each round's connect leaves before its Apply: the keyboard's key maps with its user's key
# back, joined with what only the cache holds (the G keys' settings of the defaults).
kbsim_ok "write keymap 0 $user_map" >/dev/null
wine_start "$E2E_WORK/reference-connect.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open for the second reference run"
for i in $(seq 1 100); do [ "$(ds_hash "$cache")" != "$new" ] && break; sleep 0.1; done
ds_wait_settled_file "$cache" 10 || true
old=$(ds_hash "$cache")
[ "$old" != "$new" ] || fail "the connect did not take the keyboard's key back into the cache file"
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the second reference run"
e2e_log "cache before the Apply $old, after $new"

declare -A seen=()
left_by_kill=0
inside_write=0
for ((round = 1; round <= KILL_ROUNDS; round++)); do
  # A round's unfinished-write file is newer than this; one left by an earlier round's kill is not.
  touch "$E2E_WORK/round-start"
  mark=$(ds_log_mark)
  start_and_restore_defaults
  pid=$(app_pids | head -n1)
  if ((round % 2)); then
    packet=$(((round / 2) % 7 + 1))
    delay_ms=0
  else
    # The last packet, then from at once to well past the cache save, in steps of 15 ms.
    packet=7
    delay_ms=$(((round - 2) / 2 * 15))
  fi
  for i in $(seq 1 2000); do
    [ "$(ds_requests_since "$mark" 08)" -ge "$packet" ] && break
    sleep 0.005
  done
  sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
  when="$delay_ms ms after key map packet $packet"
  kill_program "$pid"
  now=$(ds_hash "$cache")
  case "$now" in
    "$old") seen[old]=$((${seen[old]:-0} + 1)) ;;
    "$new") seen[new]=$((${seen[new]:-0} + 1)) ;;
    *)
      cp "$cache" "$E2E_WORK/torn-cache" 2>/dev/null || true
      fail "round $round (kill $when): the cache file is neither the old nor the new content ($now)"
      ;;
  esac
  temps=$(find "$folder" -name '*.tmp~' | wc -l)
  [ "$temps" -gt 0 ] && left_by_kill=$((left_by_kill + 1))
  marked=no
  if [ "$folder/\$Profile0.writing" -nt "$E2E_WORK/round-start" ]; then
    marked=yes
    inside_write=$((inside_write + 1))
  fi
  e2e_log "round $round: killed $when, cache $([ "$now" = "$old" ] && echo old || echo new), temporary files $temps, inside the write $marked"
done
e2e_log "cache old ${seen[old]:-0} times, new ${seen[new]:-0} times; rounds leaving a temporary file: $left_by_kill; kills inside the write: $inside_write"
[ "$inside_write" -ge 1 ] || fail "no kill landed inside the write: the rounds tested only a program killed before or after it"

# A last round that runs to its end: its saves leave no temporary file and no unfinished write.
start_and_restore_defaults
for i in $(seq 1 100); do
  [ "$(ds_hash "$cache")" = "$new" ] && [ ! -e "$folder/\$Profile0.writing" ] && break
  sleep 0.1
done
expect_eq "$new" "$(ds_hash "$cache")" "cache file after a whole Apply"
[ -e "$folder/\$Profile0.writing" ] && fail "the unfinished-write file stayed after a whole write"
expect_eq "" "$(find "$folder" -name '*.tmp~' -printf '%f ')" "temporary files after a whole Apply"
expect_eq 020204 "$(kbsim_ok "read keymap $((POS_A * 3)) 3" | tr a-f A-F)" "profile 1 entry of A"
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
