#!/usr/bin/env bash
# A macro recorded in the key-setting dialog reaches the keyboard: the main window's macro-edit
# button opens the dialog on G9, a new macro is added, the record-delay option is ticked (it lands
# in the registry profile), and Record takes A held until it repeats, B and the left Windows key;
# Record again stops. The delay of B's press is edited to 12345 and shows 12340. OK and the main
# window's Apply write the macro: kbsim's macro memory holds exactly the rows the list showed (in
# the keyboard's 10 ms units), and the cache file gives G9 of the active bank that macro. Macros
# added and then cancelled change neither the keyboard nor the cache file.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/key_dialog_helpers.sh"
harness_init app_macro_record
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

ACTION_LIST_ID=$(sed -n 's/^#define IDC_CMP_ACTION_LIST \([0-9]*\).*/\1/p' "$E2E_REPO/src/app/resource_ids.h")
DELAY_COLUMN=2
EDITED_ROW=2  # B's press
# G9 of bank 0, the bank a freshly started program shows.
G9_SLOT=$((256 + 8))
MACRO_TYPE=4
# The profile's record-delay option.
OPTION_KEY='HKCU\Software\Orvane_Talmet\PROFILES'
OPTION_VALUE=RecordDelay

profile=$((16#$(kbsim_ok "read info 10 1")))

# The action list's rows, one "KEY|KIND|DELAY" a line.
list_rows() { ds_probe rows "$DIALOG_TITLE" "$ACTION_LIST_ID"; }

# The whole macro image as the keyboard holds it (its header's size), or the header alone when it
# holds none.
macro_memory() {
  local header size
  header=$(kbsim_ok "read macro 0 16" | tr a-f A-F)
  if [ "${header:0:4}" != AA55 ]; then
    echo "$header"
    return 0
  fi
  size=$((16#${header:6:2}${header:4:2}))
  kbsim_ok "read macro 0 $size" | tr a-f A-F
}

wait_macro_image() {
  local i
  for ((i = 0; i < 100; i++)); do
    [ "$(kbsim_ok "read macro 0 2" | tr a-f A-F)" = AA55 ] && return 0
    sleep 0.2
  done
  return 1
}

# Waits until the program has sent kbsim nothing for two seconds: a write may be followed by a
# fresh read of the keyboard, which saves the cache file again.
wait_link_quiet() {
  local i last now quiet=0
  last=$(ds_log_mark)
  for ((i = 0; i < 150; i++)); do
    sleep 0.2
    now=$(ds_log_mark)
    if [ "$now" = "$last" ]; then
      quiet=$((quiet + 1))
      [ "$quiet" -ge 10 ] && return 0
    else
      quiet=0
      last=$now
    fi
  done
  return 1
}

# The registry's record-delay option, or "missing".
record_delay_option() {
  local out
  out=$(wine_run reg query "$OPTION_KEY" /v "$OPTION_VALUE" 2>/dev/null | tr -d '\r') || { echo missing; return 0; }
  sed -n "s/^ *$OPTION_VALUE *REG_SZ *//p" <<<"$out"
}

# Starts from the option off, whatever an earlier run left in the shared prefix.
wine_run reg add "$OPTION_KEY" /v "$OPTION_VALUE" /t REG_SZ /d 0 /f >/dev/null 2>&1 ||
  fail "cannot preset the record-delay option"

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open with the keyboard attached"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
expect_eq "0 0" "$(cache_record_of "$cache" "$profile" "$G9_SLOT" | cut -d' ' -f1-2)" "G9's record before recording"

# Record a macro on the macro tab of G9's dialog.
app_click_control FUNC_MACRO
wait_dialog shown || fail "the macro-edit button did not open the key-setting dialog"
expect_eq "" "$(list_rows)" "action list of a keyboard without macros"
dialog_click FUNC_MACRO_ADD
dialog_click FUNC_MACRO_RECORD_DELAY
expect_eq 1 "$(record_delay_option)" "record-delay option after ticking its box"
dialog_click FUNC_MACRO_RECORD
# A held key repeats: press after press without a release. Sent here, so that the repeats come
# whatever the display's autorepeat delay and rate (or none); they must record as one press.
xdotool keydown a
for i in 1 2 3 4 5; do
  sleep 0.2
  xdotool keydown a
done
sleep 0.2
xdotool keyup a
sleep 0.3
xdotool key b
sleep 0.3
xdotool keydown super
sleep 0.3
screenshot recording
xdotool keyup super
sleep 0.3
dialog_click FUNC_MACRO_RECORD

rows=$(list_rows)
e2e_log "recorded rows:"$'\n'"$rows"
"$APP_PYTHON" - "$rows" <<'PY' || fail "recorded rows: $rows"
import sys
rows = [r.split("|") for r in sys.argv[1].splitlines()]
assert len(rows) == 6, "six actions: A, B and the left Windows key, each pressed and released"
kinds = [r[1].strip() for r in rows]
assert kinds == ["\u2193", "\u2191"] * 3, kinds
keys = [r[0] for r in rows]
assert keys[0] == keys[1] and keys[2] == keys[3] and keys[4] == keys[5], keys
assert len({keys[0], keys[2], keys[4]}) == 3, keys
delays = [int(r[2]) for r in rows]
# Measured pauses: A was held over a second; the last row has nothing after it.
assert delays[0] >= 1000, delays
assert delays[-1] == 0, delays
PY

# Edit the delay of B's press.
read -r cx cy cw ch <<<"$(ds_probe cell "$DIALOG_TITLE" "$ACTION_LIST_ID" "$EDITED_ROW" "$DELAY_COLUMN")"
[ -n "${ch:-}" ] || fail "no cell $EDITED_ROW/$DELAY_COLUMN in the action list"
xdotool mousemove $((cx + cw / 2)) $((cy + ch / 2)) click 1
sleep 0.5
xdotool type --delay 50 12345
xdotool key Return
sleep 0.5
screenshot edited_cell
edited=$(list_rows)
e2e_log "rows after the edit:"$'\n'"$edited"
"$APP_PYTHON" - "$rows" "$edited" "$EDITED_ROW" <<'PY' || fail "rows after editing the delay: $edited"
import sys
before = [r.split("|") for r in sys.argv[1].splitlines()]
after = [r.split("|") for r in sys.argv[2].splitlines()]
row = int(sys.argv[3])
expected = [list(r) for r in before]
expected[row][2] = "12340"
assert after == expected, after
PY
expect_eq "" "$(ds_boxes)" "message boxes after the edit"

dialog_click CONTROL_OK
wait_dialog hidden || fail "OK did not close the dialog"
expect_eq enabled "$(ds_apply_state)" "main Apply after OK"
expect_eq FFFF "$(kbsim_ok "read macro 0 2" | tr a-f A-F)" "macro memory before Apply: OK only stores"
app_click_control CONTROL2_APPLY
wait_macro_image || fail "no macro image in the keyboard after Apply"
wait_link_quiet || fail "the program kept talking to the keyboard after Apply"
ds_wait_settled_file "$cache" 30 || fail "cache file did not settle after Apply"

image=$(macro_memory)
"$APP_PYTHON" - "$image" "$edited" <<'PY' || fail "macro image $image does not hold the rows $edited"
import struct, sys
image = bytes.fromhex(sys.argv[1])
rows = [r.split("|") for r in sys.argv[2].splitlines()]
magic, total, count, names = struct.unpack_from("<HHHH", image, 0)
assert (magic, total, count) == (0x55AA, len(image), 1), (hex(magic), total, count)
offset, = struct.unpack_from("<H", image, 16)
actions, cycles, name_length = struct.unpack_from("<HBB", image, offset)
assert (actions, cycles) == (len(rows), 1), (actions, cycles)
decoded = []
for a in range(actions):
    control, sub, code = struct.unpack_from("<HBB", image, offset + 4 + 4 * a)
    decoded.append((control & 0x0FFF, (control >> 12) & 7, bool(control & 0x8000), sub, code))
# A and B by their usages, the left Windows key as the left GUI modifier bit.
KEYBOARD, USAGE, MODIFIER = 2, 2, 1
usages = [(USAGE, 0x04)] * 2 + [(USAGE, 0x05)] * 2 + [(MODIFIER, 0x08)] * 2
expected = [(int(r[2]) // 10, KEYBOARD, i % 2 == 0, *usages[i]) for i, r in enumerate(rows)]
assert decoded == expected, (decoded, expected)
if names:
    name = image[offset + 4 + 4 * actions: offset + 4 + 4 * actions + 2 * name_length].decode("utf-16-le")
    assert name == "Macro1", name
PY
expect_eq "$MACRO_TYPE 1" "$(cache_record_of "$cache" "$profile" "$G9_SLOT" | cut -d' ' -f1-2)" "G9's record after Apply"
expect_eq disabled "$(ds_apply_state)" "main Apply after the write"
screenshot main_after_apply

# Macros added and cancelled change nothing.
memory_before=$(ds_keyboard_memory)
image_before=$(macro_memory)
cache_before=$(ds_hash "$cache")
cp "$cache" "$E2E_WORK/cache_before_cancel"
app_click_control FUNC_MACRO
wait_dialog shown || fail "the dialog did not open again"
expect_eq "$edited" "$(list_rows)" "the macro's rows on opening again"
dialog_click FUNC_MACRO_ADD
dialog_click FUNC_MACRO_ADD
expect_eq "" "$(list_rows)" "action list of the last macro added"
screenshot added_before_cancel
dialog_click CONTROL_CANCEL
wait_dialog hidden || fail "Cancel did not close the dialog"
wait_link_quiet || fail "the program kept talking to the keyboard after Cancel"
expect_eq disabled "$(ds_apply_state)" "main Apply after Cancel"
expect_eq "$memory_before" "$(ds_keyboard_memory)" "keyboard memory after Cancel"
expect_eq "$image_before" "$(macro_memory)" "macro image after Cancel"
expect_eq "$cache_before" "$(ds_hash "$cache")" "cache file after Cancel"

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
