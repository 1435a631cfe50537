#!/usr/bin/env bash
# Painting keys in the per-key mode (20) with the light switch on, on a profile without a colour
# file (every key red, following the black base colour). A paint colour chosen from the palette
# paints W, A and S; the base-colour tool paints D; then a new base colour recolours D and every
# key that follows the base. After each step the keyboard's per-key area of the active profile,
# the profile's colour file and the keys on the keyboard picture hold exactly those colours. After
# /Kill and a restart, with the keyboard's per-key area wiped, the program sends the colours again
# on connect and the picture shows them again.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
harness_init app_lighting_paint
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached

PAINTED_KEYS=(KEY_011 KEY_01E KEY_01F)  # W, A, S: painted with the paint colour
BASE_KEY=KEY_020                        # D: painted with the base-colour tool
PLAIN_KEY=KEY_030                       # B: never clicked, follows the base colour
RED="255,0,0"
BLACK="0,0,0"
PAINT="0,0,255"  # chosen from the paint colour's palette
BASE="0,255,0"   # chosen from the base colour's palette

profile=$((16#$(kbsim_ok "read info 10 1")))
colour_file="$E2E_DIST/Skins/UserDengColor_$profile.userd"
e2e_log "active profile $profile"

# ---- helpers ----

# The palette's colours in cell order, "R,G,B" a line, as the program draws them.
palette_colours() {
  sed -n '/kPaletteColours{/,/};/p' "$E2E_REPO/src/control_logic/palette_geometry.h" |
    grep -o 'PaletteRgb([0-9, ]*)' | sed 's/PaletteRgb(\(.*\))/\1/; s/ //g'
}

# The light switch is on at start: its settings file holds DengCheck=1.
switch_light_on_in_settings() {
  local folder
  folder="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/Documents/Orvane_05D"
  mkdir -p "$folder"
  printf '[KEYCOLOR]\r\nDengCheck=1\r\n' >"$folder/wskb.ini"
}

# Prints "X Y W H" of the visible palette popup (a frameless window of the program, 188 px wide:
# ten 18 px cells with a 4 px margin on each side); fails when none shows within 5 s.
palette_rect() {
  local i w info x y width height
  for ((i = 0; i < 50; i++)); do
    for w in $(xdotool search --onlyvisible --class vendrel.exe 2>/dev/null); do
      info=$(xwininfo -id "$w" 2>/dev/null) || continue
      width=$(sed -n 's/^ *Width: *//p' <<<"$info")
      [ "$width" = 188 ] || continue
      x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
      y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
      height=$(sed -n 's/^ *Height: *//p' <<<"$info")
      echo "$x $y $width $height"
      return 0
    done
    sleep 0.1
  done
  fail "no palette opened"
}

# Prints "R,G,B" of the screen pixel at X Y.
screen_pixel() {
  local shot="$E2E_WORK/pixel.png"
  import -window root -crop "1x1+$1+$2" +repage "$shot"
  "$APP_PYTHON" -c 'import sys; from PIL import Image; print("%d,%d,%d" % Image.open(sys.argv[1]).convert("RGB").getpixel((0, 0)))' "$shot"
}

# Opens the palette of colour button KEY and clicks the cell of COLOUR ("R,G,B"), after checking
# that the cell shows that colour.
choose_colour() {
  local key=$1 colour=$2 index x y w h cx cy shown i
  index=$(palette_colours | grep -nxF "$colour" | head -n1 | cut -d: -f1)
  [ -n "$index" ] || fail "the palette has no $colour"
  index=$((index - 1))
  app_click_control "$key"
  read -r x y w h <<<"$(palette_rect)"
  cx=$((x + 4 + (index % 10) * 18 + 9))
  cy=$((y + 4 + (index / 10) * 18 + 9))
  for ((i = 0; i < 25; i++)); do
    shown=$(screen_pixel "$cx" "$cy")
    [ "$shown" = "$colour" ] && break
    sleep 0.2
  done
  expect_eq "$colour" "$shown" "the palette cell $index of $key"
  xdotool mousemove "$cx" "$cy" click 1
  app_pointer_aside
}

click_key() {
  app_click_control "$1"
  app_pointer_aside
}

# Prints the expected colour of every painted LED, "LED R,G,B FOLLOWS" a line, for the key
# buttons and the Fn key: the keys named in $1 ("KEY=R,G,B,F ...") as given, every other key
# DEFAULT ("R,G,B,F").
expected_leds() {
  "$APP_PYTHON" - "$E2E_REPO/skin" "$1" "$2" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import colour_template as T
import keyboard_layout as KL
named = dict(item.split("=") for item in sys.argv[2].split())
leds = {f"KEY_{KL.key_slot(code):03X}": led for code, led in T.CODE_TO_LED.items()}
unknown = set(named) - set(leds)
if unknown:
    sys.exit("no LED for %s" % sorted(unknown))
rows = {led: named.get(name, sys.argv[3]) for name, led in leds.items()}
rows[T.FN_LED] = sys.argv[3]
for led in sorted(rows):
    rgbf = rows[led].split(",")
    print(led, ",".join(rgbf[:3]), rgbf[3])
PY
}

# Prints the LEDs whose colour in the keyboard's per-key area of the profile differs from
# EXPECTED (expected_leds lines), one "LED has R,G,B want R,G,B" a line.
keyboard_mismatches() {
  local area
  area=$(kbsim_ok "read colours $((profile * 512)) 378")
  "$APP_PYTHON" - "$area" "$1" <<'PY'
import sys
area = bytes.fromhex(sys.argv[1])
for line in sys.argv[2].splitlines():
    led, rgb, _ = line.split()
    led = int(led)
    has = "%d,%d,%d" % tuple(area[led * 3:led * 3 + 3])
    if has != rgb:
        print("LED %d has %s want %s" % (led, has, rgb))
PY
}

# Waits until the keyboard's per-key area holds EXPECTED (expected_leds lines).
wait_keyboard() {
  local expected=$1 what=$2 i diff=""
  for ((i = 0; i < 50; i++)); do
    diff=$(keyboard_mismatches "$expected")
    [ -z "$diff" ] && return 0
    sleep 0.2
  done
  fail "$what: $(head -n5 <<<"$diff" | tr '\n' ';')"
}

# Checks the colour file's active slot: tool TOOL, base BASE, paint PAINT and every key entry of
# EXPECTED ("R,G,B,F", keys named by LED index; a key the file lacks reads as red following the
# base).
check_colour_file() {
  local tool=$1 base=$2 paint=$3 expected=$4
  "$APP_PYTHON" - "$colour_file" "$tool" "$base" "$paint" "$expected" <<'PY' || fail "colour file $colour_file"
import configparser, sys
path, tool, base, paint, expected = sys.argv[1:]
raw = open(path, "rb").read()
text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8-sig")
ini = configparser.ConfigParser(strict=False, interpolation=None)
ini.optionxform = str
ini.read_string(text)
slot = "Mode" + ini.get("PRESENTMODE", "mode", fallback="0")
got = {"tool": ini.get(slot, "tool", fallback=None), "jcolor": ini.get(slot, "jcolor", fallback=None),
       "color": ini.get(slot, "color", fallback=None)}
want = {"tool": tool, "jcolor": base, "color": paint}
errors = ["%s=%s want %s" % (k, got[k], want[k]) for k in want if got[k] != want[k]]
for line in expected.splitlines():
    led, rgb, follows = line.split()
    value = ini.get(slot, led, fallback="255,0,0,1")  # what the program reads for a missing key
    if value != "%s,%s" % (rgb, follows):
        errors.append("%s=%s want %s,%s" % (led, value, rgb, follows))
if errors:
    sys.exit("%s of %s: %s" % (slot, path, "; ".join(errors[:6])))
PY
}

# Prints "frame R,G,B interior R,G,B" of key button KEY on the screen: its outer frame pixel in
# the middle of the left edge and the mean of the pixels inside the frame.
key_tint() {
  local shot="$E2E_WORK/key-tint.png"
  app_capture_control "$1" "$shot"
  "$APP_PYTHON" - "$shot" <<'PY'
import sys
from PIL import Image
img = Image.open(sys.argv[1]).convert("RGB")
w, h = img.size
inner = [img.getpixel((x, y)) for y in range(3, h - 3) for x in range(3, w - 3)]
mean = [round(sum(p[i] for p in inner) / len(inner)) for i in range(3)]
print("frame %d,%d,%d" % img.getpixel((0, h // 2)), "interior %d,%d,%d" % tuple(mean))
PY
}

# Whether a key_tint line shows COLOUR: the frame is the colour, and inside the frame every
# channel the colour has full is well above every channel it lacks (a black tint only darkens,
# so it is judged by its frame).
tint_shows() {
  local tint=$1 colour=$2
  "$APP_PYTHON" - "$tint" "$colour" <<'PY'
import sys
fields = sys.argv[1].split()
frame, interior = fields[1], [int(v) for v in fields[3].split(",")]
want = [int(v) for v in sys.argv[2].split(",")]
if frame != sys.argv[2]:
    sys.exit(1)
full = [interior[i] for i in range(3) if want[i] == 255]
none = [interior[i] for i in range(3) if want[i] == 0]
if full and none and min(full) < max(none) + 60:
    sys.exit(1)
PY
}

# Waits until key button KEY shows COLOUR on the keyboard picture.
expect_key_shows() {
  local key=$1 colour=$2 what=$3 i tint=""
  for ((i = 0; i < 25; i++)); do
    tint=$(key_tint "$key")
    tint_shows "$tint" "$colour" && return 0
    sleep 0.2
  done
  fail "$what: $key shows $tint, not $colour"
}

# Waits until every key of the list shows its colour: "KEY=R,G,B ...".
expect_picture() {
  local what=$1 item
  shift
  for item in "$@"; do expect_key_shows "${item%%=*}" "${item#*=}" "$what"; done
}

start_program() {
  wine_start "$E2E_WORK/app$1.out" Vendrel.exe
  app_wait_window shown 60 || fail "the window did not open (start $1)"
  app_pointer_aside
}

# ---- a fresh profile in mode 20 with the light switch on ----
kbsim_ok "write lighting $((profile * 42)) 14" >/dev/null
switch_light_on_in_settings
[ ! -e "$colour_file" ] || fail "a colour file of profile $profile is left from before: $colour_file"

start_program 1
all_red=$(expected_leds "" "$RED,1")
wait_keyboard "$all_red" "per-key area after the connect on a profile without a colour file"
expect_picture "keys of a profile without a colour file" \
  "${PAINTED_KEYS[0]}=$RED" "$BASE_KEY=$RED" "$PLAIN_KEY=$RED"
screenshot fresh_profile

# ---- paint colour on W, A and S; the base-colour tool (black) on D ----
choose_colour CONTROL_USERysButton "$PAINT"
for key in "${PAINTED_KEYS[@]}"; do click_key "$key"; done
app_click_control CONTROL_USERgjStaPic2
app_pointer_aside
click_key "$BASE_KEY"

painted=""
for key in "${PAINTED_KEYS[@]}"; do painted+="$key=$PAINT,0 "; done
wait_keyboard "$(expected_leds "$painted $BASE_KEY=$BLACK,1" "$RED,1")" "per-key area after painting"
check_colour_file 1 "$BLACK" "$PAINT" "$(expected_leds "$painted $BASE_KEY=$BLACK,1" "$RED,1")"
expect_picture "keys after painting" \
  "${PAINTED_KEYS[0]}=$PAINT" "${PAINTED_KEYS[1]}=$PAINT" "${PAINTED_KEYS[2]}=$PAINT" \
  "$BASE_KEY=$BLACK" "$PLAIN_KEY=$RED"
screenshot painted_keys

# ---- a new base colour: D and every key that follows the base take it ----
choose_colour CONTROL_USERjsButton "$BASE"
final=$(expected_leds "$painted" "$BASE,1")
wait_keyboard "$final" "per-key area after the base colour changed"
check_colour_file 1 "$BASE" "$PAINT" "$final"
final_picture=("${PAINTED_KEYS[0]}=$PAINT" "${PAINTED_KEYS[1]}=$PAINT" "${PAINTED_KEYS[2]}=$PAINT"
  "$BASE_KEY=$BASE" "$PLAIN_KEY=$BASE")
expect_picture "keys after the base colour changed" "${final_picture[@]}"
screenshot base_colour_changed

# ---- a restart sends the colours again ----
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
# Wiped, so that only a fresh send can bring the colours back.
kbsim_ok "write colours $((profile * 512)) $(printf '00%.0s' $(seq 1 378))" >/dev/null
[ -z "$(keyboard_mismatches "$(expected_leds "" "$BLACK,1")")" ] || fail "the per-key area was not wiped"
start_program 2
wait_keyboard "$final" "per-key area after a restart"
check_colour_file 1 "$BASE" "$PAINT" "$final"
expect_picture "keys after a restart" "${final_picture[@]}"
screenshot after_restart

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
