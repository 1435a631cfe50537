# Helpers of the data-safety scenarios (source after lib/harness.sh and app_helpers.sh): a keyboard
# holding the user's own settings, snapshots of its memory and of the cache file, and the message
# boxes read through window_text_probe.

DS_APPLY_ID=$(sed -n 's/^#define IDC_APPLY \([0-9]*\).*/\1/p' "$E2E_REPO/src/app/resource_ids.h")
DS_READ_FAILED="The keyboard's settings could not be read."
DS_WRITE_FAILED="The settings could not be written to the keyboard."
DS_PROMPT_DEFAULT="Do you want to restore the default settings?"

# One macro "Hi" (press A, release A), names on: header, one offset, the block, the name.
DS_MACRO_IMAGE=AA55220001000100000000000000000012000200010200A002040020020448006900
DS_MACRO_BYTES=$((${#DS_MACRO_IMAGE} / 2))

ds_probe() {
  # E2E_PROBES is known once harness_init has picked the Wine build.
  local probe="$E2E_PROBES/window_text_probe.exe"
  [ -x "$probe" ] || fail "probe not built: $probe"
  _e2e_wine_used=1
  timeout 30 wine "$probe" "$@" 2>/dev/null | tr -d '\r'
}

# Prints the visible message boxes, one "box TITLE|TEXT" per line.
ds_boxes() { ds_probe boxes; }

# Waits up to S seconds for a message box whose text holds FIXED_TEXT; prints its line.
ds_wait_box() {
  local text=$1 seconds=${2:-20} end line
  end=$((SECONDS + seconds))
  while [ "$SECONDS" -le "$end" ]; do
    line=$(ds_boxes | grep -F -- "$text" | head -n1 || true)
    [ -n "$line" ] && { echo "$line"; return 0; }
    sleep 0.2
  done
  return 1
}

# Clicks button ID (1 OK, 6 Yes) of the visible message boxes; waits until those boxes are gone.
# The answer may bring up the next box at once (a failed re-read after Yes), so only the boxes
# that were answered are waited for.
ds_answer() {
  local id=$1 i answered now
  answered=$(ds_boxes)
  [ -n "$answered" ] || fail "no message box to answer with $id"
  ds_probe answer "$id" >/dev/null
  for i in $(seq 1 50); do
    now=$(ds_boxes)
    grep -qxF -f <(printf '%s\n' "$answered") <<<"$now" || return 0
    sleep 0.1
  done
  fail "a message box stayed after answering $id: $now"
}

# Clicks Restore defaults and answers its question Yes.
ds_restore_defaults_yes() {
  app_click_control FUNC_DEFAULT
  ds_wait_box "$DS_PROMPT_DEFAULT" 20 >/dev/null || fail "Restore defaults asked nothing; boxes: $(ds_boxes)"
  ds_answer 6
}

# "enabled" or "disabled": the main window's Apply button.
ds_apply_state() { ds_probe enabled "$APP_TITLE" "$DS_APPLY_ID"; }

# Gives the keyboard settings of its user: on profile 1 A sends B, and so does the last plain key
# of the map (in the last packet of a key map write); on profile 3 Q sends W; one macro. Sets
# FACTORY (hex of the factory key map), POS_A, POS_LATE and POS_Q (matrix positions).
ds_user_keyboard() {
  FACTORY=$(kbsim_ok "read defaultmap 0 378" | tr a-f A-F)
  local i
  POS_A="" POS_Q="" POS_LATE=""
  for ((i = 0; i < 126; i++)); do
    case "${FACTORY:i*6:6}" in
      020204) POS_A=$i ;;
      020214) POS_Q=$i ;;
      0202??) [ "${FACTORY:i*6+4:2}" != 00 ] && POS_LATE=$i ;;
    esac
  done
  [ -n "$POS_A" ] && [ -n "$POS_Q" ] && [ -n "$POS_LATE" ] || fail "factory map lacks A, Q or plain keys"
  [ $((POS_LATE * 3)) -ge $((6 * 56)) ] || fail "no plain key in the last packet of the map"
  kbsim_ok "write keymap $((POS_A * 3)) 020205" >/dev/null
  kbsim_ok "write keymap $((POS_LATE * 3)) 020205" >/dev/null
  kbsim_ok "write keymap $((2 * 378 + POS_Q * 3)) 02021A" >/dev/null
  kbsim_ok "write macro 0 $DS_MACRO_IMAGE" >/dev/null
}

# The keyboard's key maps and the start of its macro memory, as one hex line.
ds_keyboard_memory() {
  echo "keymap $(kbsim_ok "read keymap 0 1134" | tr a-f A-F) macro $(kbsim_ok "read macro 0 512" | tr a-f A-F)"
}

# sha256 of a file, or "missing".
ds_hash() { if [ -f "$1" ]; then sha256sum "$1" | cut -d' ' -f1; else echo missing; fi; }

# Waits until FILE exists and has not changed for a moment.
ds_wait_settled_file() {
  local file=$1 seconds=${2:-20} i last="" now
  for ((i = 0; i < seconds * 10; i++)); do
    now=$(ds_hash "$file")
    if [ "$now" != missing ] && [ "$now" = "$last" ]; then return 0; fi
    last=$now
    sleep 0.3
  done
  return 1
}

# Number of packet lines in the kbsim log so far (to look only at what comes later).
ds_log_mark() { wc -l <"$KBSIM_LOG"; }
# Host-to-keyboard packets with command code CC (hex) after line MARK of the kbsim log.
ds_requests_since() {
  local mark=$1 code=$2
  tail -n +"$((mark + 1))" "$KBSIM_LOG" | grep -cE " > 04[0-9A-F]{4}$code" || true
}

# Checks the cache file: profile 1 has no assignment left, profile 3 keeps Q -> W.
ds_check_cache_defaults() {
  "$APP_PYTHON" - "$1" <<'PY' || fail "cache file content after Restore defaults"
import struct, sys
data = open(sys.argv[1], "rb").read()
HEADER, RECORD, BLOCK = 64, 16, 512
if len(data) < 32832:
    sys.exit("cache file has %d bytes" % len(data))
for record in range(BLOCK):
    kind, = struct.unpack_from("<H", data, HEADER + record * RECORD)
    if kind != 0:
        sys.exit("profile 1 record 0x%X still has type %d" % (record, kind))
off = HEADER + (2 * BLOCK + 0x10) * RECORD
kind, = struct.unpack_from("<H", data, off)
key, = struct.unpack_from("<I", data, off + 4)
if (kind, key) != (2, 0x11):
    sys.exit("profile 3 record of Q: type %d key 0x%X" % (kind, key))
PY
}

# The change of an unfinished write is still pending: a second start shows the window with Apply
# enabled and no box (WHAT names the moment), and Apply writes it in one transfer, after which the
# unfinished-write file is gone.
ds_apply_pending() {
  local what=$1 marker mark i
  marker="$(app_user_folder)/\$Profile0.writing"
  wine_run Vendrel.exe
  app_wait_window shown 20 || fail "the second start did not show the window"
  for i in $(seq 1 50); do [ "$(ds_apply_state)" = enabled ] && break; sleep 0.2; done
  expect_eq enabled "$(ds_apply_state)" "Apply $what"
  expect_eq "" "$(ds_boxes)" "message boxes $what"
  mark=$(ds_log_mark)
  app_click_control CONTROL2_APPLY
  for i in $(seq 1 300); do
    [ "$(ds_requests_since "$mark" 02)" -ge 1 ] && [ ! -e "$marker" ] && break
    sleep 0.1
  done
  expect_eq 1 "$(ds_requests_since "$mark" 02)" "transfers ended by the Apply $what"
}
