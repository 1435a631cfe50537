# Helpers of the key-setting dialog's scenarios (source after lib/harness.sh and app_helpers.sh):
# where its controls are on the screen, clicks on them, and whether it is shown.

DIALOG_TITLE="Key Setting"

# Prints "X Y W H" of the dialog's control at BUTTONINFO/KEY of Composite.ini on the screen.
dialog_control_rect() {
  local key=$1 info wx wy placement
  info=$(xwininfo -name "$DIALOG_TITLE") || fail "no key-setting dialog holding $key"
  wx=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  wy=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  placement=$("$APP_PYTHON" - "$E2E_DIST/Skins/Composite.ini" "$key" <<'PY'
import configparser, sys
raw = open(sys.argv[1], "rb").read()
text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8-sig")
ini = configparser.ConfigParser(strict=False, interpolation=None)
ini.optionxform = str
ini.read_string(text)
print(*[int(v) for v in ini.get("BUTTONINFO", sys.argv[2]).split(",")[:4]])
PY
) || fail "no placement of $key in Composite.ini"
  read -r x y w h <<<"$placement"
  echo "$((wx + x)) $((wy + y)) $w $h"
}

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

wait_dialog() {
  local state=$1 i
  for ((i = 0; i < 100; i++)); do
    [ "$(dialog_state)" = "$state" ] && return 0
    sleep 0.1
  done
  return 1
}

# "TYPE VALUE" of record SLOT of profile PROFILE's block in the cache file FILE.
cache_record_of() {
  "$APP_PYTHON" - "$1" "$2" "$3" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
HEADER, RECORD, BLOCK = 64, 16, 512
off = HEADER + (int(sys.argv[2]) * BLOCK + int(sys.argv[3])) * RECORD
kind, = struct.unpack_from("<H", data, off)
value, = struct.unpack_from("<I", data, off + 4)
print(kind, value)
PY
}
