# Helpers of the scenarios that drive the key-setting dialog (source after lib/harness.sh and
# app_helpers.sh): where its controls are on the screen, clicks on them, whether it shows, and
# the records of the cache file.

DIALOG_TITLE="Key Setting"

# Prints "X Y W H" of the dialog's control at BUTTONINFO/KEY of Composite.ini on the screen.
dialog_control_rect() { skin_control_rect "$DIALOG_TITLE" Composite.ini "$1"; }

dialog_click() {
  local x y w h
  read -r x y w h <<<"$(dialog_control_rect "$1")"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  sleep 0.5
}

dialog_state() {
  local info
  info=$(xwininfo -name "$DIALOG_TITLE" 2>/dev/null) || { echo hidden; return 0; }
  if grep -q 'Map State: IsViewable' <<<"$info"; then echo shown; else echo hidden; fi
}

# Waits up to 10 s until dialog_state prints STATE.
wait_dialog() {
  local state=$1 i
  for ((i = 0; i < 100; i++)); do
    [ "$(dialog_state)" = "$state" ] && return 0
    sleep 0.1
  done
  return 1
}

# "TYPE VALUE FLAG" of record SLOT of profile PROFILE in cache file FILE (type, parameter and
# colour flag of the settings-file record).
cache_record_of() {
  "$APP_PYTHON" - "$1" "$2" "$3" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
HEADER, RECORD, BLOCK = 64, 16, 512
off = HEADER + (int(sys.argv[2]) * BLOCK + int(sys.argv[3])) * RECORD
kind, = struct.unpack_from("<H", data, off)
value, = struct.unpack_from("<I", data, off + 4)
flag, = struct.unpack_from("<I", data, off + 8)
print(kind, value, flag)
PY
}
