#!/usr/bin/env bash
# The profile dialog, opened by the main window's profile button. It lists the cache file once per
# keyboard profile with the active one checked. Add, through the system's save dialog, writes a
# default settings file at the typed path and lists it as a fourth row; that row has no check box,
# and neither a click where one would be nor the space bar marks it.
# Checking the third row and Apply switch kbsim to profile 2 and leave PROFILE00 (the row count)
# and PROFILE01.. (each row's path) in the registry profile. Unplugging the keyboard closes the
# dialog.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
harness_init app_profile_dialog
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

PROFILE_TITLE="Profiles"
LIST_ID=1007
APPLY_ID=1012
LIST_KEY='HKCU\Software\Orvane_Talmet\PROFILES'
WIN_USER_FOLDER="C:\\users\\${USER:-$(id -un)}\\Documents\\RX73P05D\\"
ADDED_NAME=scenario_added
ADDED_FILE="$(app_user_folder)/$ADDED_NAME.fwc"

profile_dialog_state() {
  local info
  info=$(xwininfo -name "$PROFILE_TITLE" 2>/dev/null) || { echo hidden; return 0; }
  if grep -q 'Map State: IsViewable' <<<"$info"; then echo shown; else echo hidden; fi
}

wait_profile_dialog() {
  local state=$1 i
  for ((i = 0; i < 100; i++)); do
    [ "$(profile_dialog_state)" = "$state" ] && return 0
    sleep 0.1
  done
  return 1
}

profile_click() {
  local x y w h
  read -r x y w h <<<"$(skin_control_rect "$PROFILE_TITLE" Profile.ini "$1")"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  sleep 0.5
}

# Clicks the check box of list row ROW: it sits at the left end of the row's first cell.
click_check_box() {
  local rect x y w h
  rect=$(ds_probe cell "$PROFILE_TITLE" "$LIST_ID" "$1" 0)
  [ "$rect" != missing ] || fail "no row $1 in the profile list"
  read -r x y w h <<<"$rect"
  xdotool mousemove $((x + 9)) $((y + h / 2)) click 1
  sleep 0.5
}

list_rows() { ds_probe rows "$PROFILE_TITLE" "$LIST_ID"; }
check_images() { ds_probe checks "$PROFILE_TITLE" "$LIST_ID"; }
apply_state() { ds_probe enabled "$PROFILE_TITLE" "$APPLY_ID"; }
keyboard_profile() { echo $((16#$(kbsim_ok "read info 10 1"))); }

# Waits up to 10 s for kbsim's active profile to be P.
wait_keyboard_profile() {
  local i
  for ((i = 0; i < 50; i++)); do
    [ "$(keyboard_profile)" = "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

# "NAME=VALUE" of every value under the list's registry key, sorted.
stored_list() {
  wine_run reg query "$LIST_KEY" 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *\(PROFILE[0-9]*\) *REG_SZ *\(.*\)$/\1=\2/p' | sort
}

# Starts from the keyboard on its first profile and no list that an earlier run stored.
kbsim_ok "write info 10 00" >/dev/null
wine_run reg delete "$LIST_KEY" /f >/dev/null 2>&1 || true

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open with the keyboard attached"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"

# ---- opening ----
app_click_control FUNC_PROFILES
wait_profile_dialog shown || fail "the profile button did not open the profile dialog"
sleep 0.5
cache_row="|\$Profile0|$WIN_USER_FOLDER"
expect_eq "$(printf '%s\n%s\n%s' "$cache_row" "$cache_row" "$cache_row")" "$(list_rows)" \
  "rows of the freshly opened dialog"
expect_eq "2 1 1" "$(check_images)" "check boxes of the freshly opened dialog"
expect_eq disabled "$(apply_state)" "the dialog's Apply when opened"
screenshot profile_dialog

# ---- Add: a default settings file at the typed path ----
profile_click FUNC_ADD
save_window=""
for ((i = 0; i < 100; i++)); do
  save_window=$(xdotool search --onlyvisible --name '^Save As$' 2>/dev/null | head -n1 || true)
  [ -n "$save_window" ] && break
  sleep 0.1
done
[ -n "$save_window" ] || fail "Add did not show the save dialog"
sleep 0.5
xdotool key --window "$save_window" ctrl+a
xdotool type --delay 20 "${WIN_USER_FOLDER}${ADDED_NAME}"
xdotool key Return
for ((i = 0; i < 100; i++)); do [ -f "$ADDED_FILE" ] && break; sleep 0.1; done
[ -f "$ADDED_FILE" ] || fail "Add wrote no file at $ADDED_FILE"
"$APP_PYTHON" - "$ADDED_FILE" <<'PY' || fail "the added file is no default settings file"
import struct, sys
data = open(sys.argv[1], "rb").read()
if len(data) != 32832:
    sys.exit("%d bytes" % len(data))
magic, header, fa, fb, total, records, macros, texts = struct.unpack_from("<HHHHIHHI", data, 0)
if (magic, header, fa, fb, total, macros, texts) != (0x4446, 32, 3, 1, 32832, 0, 0):
    sys.exit("header %r" % ((magic, header, fa, fb, total, records, macros, texts),))
if sum(data[:31]) & 0xFF != data[31]:
    sys.exit("header checksum")
HEADER, RECORD = 64, 16
for r in range(3 * 512):
    kind, = struct.unpack_from("<H", data, HEADER + r * RECORD)
    if kind != 0:
        sys.exit("record %d has type %d" % (r, kind))
PY
sleep 0.5
expect_eq "|$ADDED_NAME|$WIN_USER_FOLDER" "$(list_rows | sed -n 4p)" "the row Add appended"
expect_eq "2 1 1 0" "$(check_images)" "check boxes after Add"
expect_eq enabled "$(apply_state)" "the dialog's Apply after Add"
screenshot profile_dialog_added

# ---- the third row and Apply ----
click_check_box 2
expect_eq "1 1 2 0" "$(check_images)" "check boxes after a click on the third row's"
expect_eq enabled "$(apply_state)" "the dialog's Apply after the check"
profile_click CONTROL2_APPLY
wait_keyboard_profile 2 || fail "Apply with the third row checked left kbsim on profile $(keyboard_profile)"
for ((i = 0; i < 50; i++)); do [ "$(apply_state)" = disabled ] && break; sleep 0.1; done
expect_eq disabled "$(apply_state)" "the dialog's Apply after Apply"
expected_list=$(printf '%s\n' "PROFILE00=4" "PROFILE01=${WIN_USER_FOLDER}\$Profile0.fwc" \
  "PROFILE02=${WIN_USER_FOLDER}\$Profile0.fwc" "PROFILE03=${WIN_USER_FOLDER}\$Profile0.fwc" \
  "PROFILE04=${WIN_USER_FOLDER}${ADDED_NAME}.fwc")
expect_eq "$expected_list" "$(stored_list)" "the list in the registry profile"

# ---- a fourth row cannot become the keyboard's profile ----
# It has no check box: neither a click where the box would be nor the space bar on the selected
# row marks it, and nothing is left to apply.
click_check_box 3
xdotool key space
sleep 0.5
expect_eq "1 1 2 0" "$(check_images)" "check boxes after a click and the space bar on the fourth row"
expect_eq disabled "$(apply_state)" "the dialog's Apply after the tries on the fourth row"
expect_eq "" "$(ds_boxes)" "message boxes after the tries on the fourth row"
expect_eq 2 "$(keyboard_profile)" "kbsim's profile after the tries on the fourth row"

# ---- the keyboard goes: the dialog closes ----
kbsim_ok detach >/dev/null
wait_profile_dialog hidden || fail "the profile dialog stayed open after the keyboard went"
kbsim_ok attach >/dev/null
e2e_log "profile dialog scenario passed"
