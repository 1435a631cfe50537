# Helpers of the scene-switching scenarios (source after lib/harness.sh, app_helpers.sh,
# data_safety_helpers.sh and key_dialog_helpers.sh): the keyboard's active profile, profiles whose
# lighting blocks tell apart, and the order of what the keyboard received.

SC_BLOCK_SIZE=42
SC_REPORT_RATE=15  # offset of the report rate in a profile's lighting block
SC_PROMPT_SAVE="Whether to save the profile settings made?"
SC_PROMPT_EDITOR="When fast switch scene mode, you must first close the editor dialog box."

# The number of a control id of the main window (resource_ids.h), e.g. sc_id IDC_PROFILE_2.
sc_id() {
  local id
  id=$(sed -n "s/^#define $1 \([0-9]*\).*/\1/p" "$E2E_REPO/src/app/resource_ids.h")
  [ -n "$id" ] || fail "no control id $1"
  echo "$id"
}

# The keyboard's active profile (0..2).
sc_active() { echo $((16#$(kbsim_ok "read info 10 1"))); }

# Waits up to S seconds (default 10) until the keyboard's active profile is P.
sc_wait_active() {
  local profile=$1 seconds=${2:-10} i
  for ((i = 0; i < seconds * 5; i++)); do
    [ "$(sc_active)" = "$profile" ] && return 0
    sleep 0.2
  done
  return 1
}

# Keyboard on profile 0; profile 0 reports at 125 Hz and profile 1 at 1000 Hz, so the pressed
# report-rate button tells whose lighting block the panel shows.
sc_keyboard_with_two_rates() {
  kbsim_ok "write info 10 00" >/dev/null
  kbsim_ok "write lighting $SC_REPORT_RATE 00" >/dev/null
  kbsim_ok "write lighting $((SC_BLOCK_SIZE + SC_REPORT_RATE)) 03" >/dev/null
}

# The line numbers (in kbsim's log, after line MARK) of the host's packets with command code CC.
sc_request_lines() {
  local mark=$1 code=$2
  tail -n +"$((mark + 1))" "$KBSIM_LOG" | grep -nE " > 04[0-9A-F]{4}$code" | cut -d: -f1 || true
}

# Posts the click of the main window's control ID, which reaches it also while a modal dialog
# has disabled it.
sc_post_click() {
  local probe="$E2E_PROBES/window_command_probe.exe" out
  [ -x "$probe" ] || fail "probe not built: $probe"
  _e2e_wine_used=1
  out=$(timeout 30 wine "$probe" click "$APP_TITLE" "$1" 2>/dev/null | tr -d '\r')
  [ "$out" = posted ] || fail "the click of control $1 was not posted: $out"
}

# Sets key A (skin KEY_01E) to B through the key-setting dialog and OK, without Apply.
sc_edit_a_to_b() {
  app_click_control KEY_01E
  wait_dialog shown || fail "a click on A did not open the key-setting dialog"
  xdotool key b
  sleep 0.5
  dialog_click CONTROL_OK
  wait_dialog hidden || fail "OK did not close the key-setting dialog"
  [ "$(ds_apply_state)" = enabled ] || fail "Apply is not enabled after the edit"
}
