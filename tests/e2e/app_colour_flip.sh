#!/usr/bin/env bash
# The colour-keys mode and the Flip setting of the keyboard picture.
# With the colour-keys switch on, a click on A toggles the colour flag of A's place (record 0 of
# the active profile): the button's look changes, Apply is enabled, and after Apply the cache file
# holds the flag. Switching the mode off and on twice changes no flag: A and S keep their looks,
# Apply stays disabled, and after S is marked and applied the cache holds exactly the two flags.
# The flip buttons trade F1..F4 for D1..D6 (enabled states read by the probe), the arrow beside a
# flip button lights while the pointer is over it, and the setting survives a restart.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/key_dialog_helpers.sh"
harness_init app_colour_flip
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

RECORD_A=0    # A is the first key button: its place keeps its colour flag in record 0
RECORD_S=18   # S is the nineteenth, past the G keys' places (records 0..17)
F_KEYS=(1010 1011 1012 1013)
D_KEYS=(1016 1017 1018 1019 1020 1021)

profile=$((16#$(kbsim_ok "read info 10 1")))
e2e_log "active profile $profile"

# "RECORD RECORD ..." of every record of the active profile whose colour flag is set.
flagged_records() {
  "$APP_PYTHON" - "$cache" "$profile" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
HEADER, RECORD, BLOCK, FLAG = 64, 16, 512, 8
base = HEADER + int(sys.argv[2]) * BLOCK * RECORD
print(*[r for r in range(BLOCK) if struct.unpack_from("<I", data, base + r * RECORD + FLAG)[0]])
PY
}

# Waits until the cache file's flagged records of the active profile are EXPECTED.
wait_flagged() {
  local expected=$1 i
  for ((i = 0; i < 100; i++)); do
    [ -f "$cache" ] && [ "$(flagged_records)" = "$expected" ] && return 0
    sleep 0.2
  done
  return 1
}


click() {
  app_click_control "$1"
  sleep 0.5
  app_pointer_aside
}

enabled_state() { ds_probe enabled "$APP_TITLE" "$1"; }

# Prints "F:<states of F1..F4> D:<states of D1..D6>", each "e" enabled or "d" disabled.
flip_states() {
  local id out="F:"
  for id in "${F_KEYS[@]}"; do out+=$([ "$(enabled_state "$id")" = enabled ] && echo e || echo d); done
  out+=" D:"
  for id in "${D_KEYS[@]}"; do out+=$([ "$(enabled_state "$id")" = enabled ] && echo e || echo d); done
  echo "$out"
}

start_program() {
  wine_start "$E2E_WORK/app$1.out" Vendrel.exe
  app_wait_window shown 60 || fail "the window did not open (start $1)"
  ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect (start $1)"
  sleep 1
}

start_program 1
expect_eq "" "$(flagged_records)" "flagged records before the colour-keys mode"

# ---- colour-keys mode ----
app_pointer_aside
app_look KEY_01E a_function
app_look KEY_01F s_function
click FUNC_SWITCH
app_expect_look KEY_01E a_colour_off differs a_function "A does not show the colour-keys look"
app_expect_look KEY_01F s_colour_off differs s_function "S does not show the colour-keys look"
screenshot colour_keys_mode

click KEY_01E
app_expect_look KEY_01E a_colour_on differs a_colour_off "A's look did not change with its flag"
expect_eq enabled "$(ds_apply_state)" "Apply after a flag was toggled"
expect_eq hidden "$(dialog_state)" "key-setting dialog after a click in the colour-keys mode"
screenshot a_flagged

click CONTROL2_APPLY
wait_flagged "$RECORD_A" || fail "flagged records after Apply: $(flagged_records)"
ds_wait_settled_file "$cache" 30 || fail "cache file did not settle"
expect_eq disabled "$(ds_apply_state)" "Apply after the write"

# Off and on twice: nothing changes.
for round in 1 2; do
  click FUNC_SWITCH
  app_expect_look KEY_01E "a_function_$round" same a_function "A's look off the colour-keys mode (round $round)"
  click FUNC_SWITCH
done
app_expect_look KEY_01E a_colour_again same a_colour_on "A's look after two rounds of the switch"
app_expect_look KEY_01F s_colour_again same s_colour_off "S's look after two rounds of the switch"
expect_eq disabled "$(ds_apply_state)" "Apply after two rounds of the switch"

click KEY_01F
click CONTROL2_APPLY
wait_flagged "$RECORD_A $RECORD_S" || fail "flagged records after marking S: $(flagged_records)"
ds_wait_settled_file "$cache" 30 || fail "cache file did not settle after marking S"
click FUNC_SWITCH
screenshot colour_keys_off

# ---- Flip ----
before=$(flip_states)
case "$before" in
  "F:eeee D:dddddd") after="F:dddd D:eeeeee" ;;
  "F:dddd D:eeeeee") after="F:eeee D:dddddd" ;;
  *) fail "F1..F4 and D1..D6 are not one set enabled and the other not: $before" ;;
esac
e2e_log "flip states at start: $before"

# The left arrow lights while the pointer is over FLIP_1.
app_look LEFT_ARROW arrow_rest
read -r fx fy fw fh <<<"$(app_control_rect FLIP_1)"
xdotool mousemove $((fx + fw / 2)) $((fy + fh / 2))
sleep 0.5
app_expect_look LEFT_ARROW arrow_over differs arrow_rest "the left arrow does not follow the pointer over FLIP_1"

xdotool click 1
app_expect_look LEFT_ARROW arrow_flipped_over differs arrow_over "the left arrow does not show the flipped setting"
app_pointer_aside
app_expect_look LEFT_ARROW arrow_flipped_rest differs arrow_flipped_over "the flipped left arrow does not follow the pointer"
app_expect_look LEFT_ARROW arrow_flipped_rest differs arrow_rest "the left arrow at rest does not show the flipped setting"
expect_eq "$after" "$(flip_states)" "F and D keys after FLIP_1"
screenshot flipped

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
start_program 2
expect_eq "$after" "$(flip_states)" "F and D keys after a restart"
screenshot flipped_after_restart

click FLIP_2
expect_eq "$before" "$(flip_states)" "F and D keys after FLIP_2"
screenshot flipped_back

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
