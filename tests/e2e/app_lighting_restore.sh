#!/usr/bin/env bash
# Restore defaults brings the lighting of the active profile back to the factory state. The
# keyboard starts far from it (mode 7, brightness 1, another colour and speed, a report rate, and
# the reserved and effect-option bytes set), the light switch is on and the profile has a colour
# file of its own, every key painted yellow. After Restore defaults, answered Yes, the keyboard's
# lighting block starts with the 35-byte default block while the 7 bytes after it stay as they
# were, the profile's colour file is the factory template byte for byte, the keyboard's per-key
# area holds the template's active layout, the light switch stays on and the brightness slider
# shows the new level.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/lighting_helpers.sh"
harness_init app_lighting_restore
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached

# Mode 7, brightness 1, speed 2, first direction, one colour (0,128,255), colour choice 2; reserved
# bytes 9..14, report rate 2, effect options 16..34; the unused tail 35..41, which no restore writes.
USER_BLOCK=070102FF000080FF02
USER_BLOCK+=111213141516
USER_BLOCK+=02
USER_BLOCK+=A0A1A2A3A4A5A6A7A8A9AAABACADAEAFB0B1B2
UNUSED_TAIL=5A5A5A5A5A5A5A
# Mode 18, brightness 5, speed 3, second direction, multicolour, red, colour choice 8, zeros.
DEFAULT_BLOCK=12050300FFFF000008$(printf '00%.0s' $(seq 9 34))

profile=$((16#$(kbsim_ok "read info 10 1")))
colour_file="$E2E_DIST/Skins/UserDengColor_$profile.userd"
template="$E2E_DIST/Skins/UserDengColor_3.userd"
e2e_log "active profile $profile"
[ -s "$template" ] || fail "no colour template: $template"

# ---- helpers ----

# The profile's own colour file: slot 0 named "Mine", the base-colour tool, and every key button
# and the Fn key painted yellow.
write_user_colour_file() {
  "$APP_PYTHON" - "$E2E_REPO/skin" "$colour_file" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import colour_template as T
lines = ["[PRESENTMODE]", "mode=0", "[MODENAME]", "0=Mine", "[Mode0]", "tool=1",
         "jcolor=0,0,255", "color=255,255,0"]
lines += ["%d=255,255,0,0" % led for led in sorted(set(T.CODE_TO_LED.values()) | {T.FN_LED})]
open(sys.argv[2], "w", newline="").write("\r\n".join(lines) + "\r\n")
PY
}

# ---- a profile far from the defaults ----
kbsim_ok "write lighting $((profile * LT_BLOCK_SIZE)) $USER_BLOCK$UNUSED_TAIL" >/dev/null
lt_write_switch 1
write_user_colour_file
user_colours=$(lt_colour_file_leds "$colour_file")
template_colours=$(lt_colour_file_leds "$template")
[ "$(cut -d' ' -f1,2 <<<"$user_colours")" != "$(cut -d' ' -f1,2 <<<"$template_colours")" ] ||
  fail "the profile's own colours are the template's"
cmp -s "$colour_file" "$template" && fail "the profile's own colour file is the template"

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open"
lt_wait_leds "$profile" "$user_colours" "per-key area after the connect"
app_pointer_aside
app_look CONTROL_LightSlider brightness_before
screenshot before_restore

# ---- Restore defaults, Yes ----
ds_restore_defaults_yes

lt_wait_field "$profile" 0 "$DEFAULT_BLOCK" || true
block=$(lt_field "$profile" 0 "$LT_BLOCK_SIZE")
expect_eq "$DEFAULT_BLOCK" "${block:0:70}" "the first 35 bytes of the lighting block after the restore"
expect_eq "$UNUSED_TAIL" "${block:70}" "the 7 bytes after the default block"

lt_poll 10 cmp -s "$colour_file" "$template" || true
cmp "$colour_file" "$template" >&2 || fail "the colour file of profile $profile is not the template"
lt_wait_leds "$profile" "$template_colours" "per-key area after the restore"

expect_eq 1 "$(lt_switch_value)" "DengCheck after the restore"
app_pointer_aside
app_expect_look CONTROL_LightSlider brightness_after differs brightness_before \
  "the brightness slider did not move to the default level"
screenshot after_restore

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
