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
settings_file="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/Documents/Orvane_05D/wskb.ini"
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

# "LED R,G,B" a line for every key button and the Fn key: the colours of the active slot of the
# colour file FILE (UTF-16 or 8-bit), with the files' default red for a missing key.
colours_of_file() {
  "$APP_PYTHON" - "$E2E_REPO/skin" "$1" <<'PY'
import configparser, sys
sys.path.insert(0, sys.argv[1])
import colour_template as T
raw = open(sys.argv[2], "rb").read()
text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8-sig")
ini = configparser.ConfigParser(strict=False, interpolation=None)
ini.optionxform = str
ini.read_string(text)
slot = "Mode" + ini.get("PRESENTMODE", "mode", fallback="0")
for led in sorted(set(T.CODE_TO_LED.values()) | {T.FN_LED}):
    value = ini.get(slot, str(led), fallback="255,0,0,1")
    print(led, ",".join(value.split(",")[:3]))
PY
}

# The LEDs of EXPECTED ("LED R,G,B" lines) whose colour in the keyboard's per-key area of the
# profile differs, one "LED has R,G,B want R,G,B" a line.
keyboard_mismatches() {
  local area
  area=$(kbsim_ok "read colours $((profile * 512)) 378")
  "$APP_PYTHON" - "$area" "$1" <<'PY'
import sys
area = bytes.fromhex(sys.argv[1])
for line in sys.argv[2].splitlines():
    led, rgb = line.split()
    led = int(led)
    has = "%d,%d,%d" % tuple(area[led * 3:led * 3 + 3])
    if has != rgb:
        print("LED %d has %s want %s" % (led, has, rgb))
PY
}

wait_keyboard() {
  local expected=$1 what=$2 i diff=""
  for ((i = 0; i < 50; i++)); do
    diff=$(keyboard_mismatches "$expected")
    [ -z "$diff" ] && return 0
    sleep 0.2
  done
  fail "$what: $(head -n5 <<<"$diff" | tr '\n' ';')"
}

lighting_block() { kbsim_ok "read lighting $((profile * 42)) 42" | tr a-f A-F; }

# ---- a profile far from the defaults ----
kbsim_ok "write lighting $((profile * 42)) $USER_BLOCK$UNUSED_TAIL" >/dev/null
mkdir -p "$(dirname "$settings_file")"
printf '[KEYCOLOR]\r\nDengCheck=1\r\n' >"$settings_file"
write_user_colour_file
user_colours=$(colours_of_file "$colour_file")
template_colours=$(colours_of_file "$template")
[ "$user_colours" != "$template_colours" ] || fail "the profile's own colours are the template's"
cmp -s "$colour_file" "$template" && fail "the profile's own colour file is the template"

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open"
wait_keyboard "$user_colours" "per-key area after the connect"
app_pointer_aside
app_look CONTROL_LightSlider brightness_before
screenshot before_restore

# ---- Restore defaults, Yes ----
app_click_control FUNC_DEFAULT
ds_wait_box "$DS_PROMPT_DEFAULT" 20 >/dev/null || fail "Restore defaults asked nothing: $(ds_boxes)"
ds_answer 6

block=""
for ((i = 0; i < 50; i++)); do
  block=$(lighting_block)
  [ "${block:0:70}" = "$DEFAULT_BLOCK" ] && break
  sleep 0.2
done
expect_eq "$DEFAULT_BLOCK" "${block:0:70}" "the first 35 bytes of the lighting block after the restore"
expect_eq "$UNUSED_TAIL" "${block:70}" "the 7 bytes after the default block"

for ((i = 0; i < 50; i++)); do
  cmp -s "$colour_file" "$template" && break
  sleep 0.2
done
cmp "$colour_file" "$template" >&2 || fail "the colour file of profile $profile is not the template"
wait_keyboard "$template_colours" "per-key area after the restore"

tr -d '\0\r' <"$settings_file" | grep -qx 'DengCheck=1' || fail "the light switch is off after the restore"
app_pointer_aside
app_expect_look CONTROL_LightSlider brightness_after differs brightness_before \
  "the brightness slider did not move to the default level"
screenshot after_restore

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
