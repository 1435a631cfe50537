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
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/lighting_helpers.sh"
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

# Checks the colour file's active slot: tool TOOL, base BASE, paint PAINT and the keys of
# EXPECTED (expected_leds lines), every key button and the Fn key.
check_colour_file() {
  local want got
  want=$(printf 'tool %s\njcolor %s\ncolor %s\n%s' "$1" "$2" "$3" "$4")
  got=$(lt_colour_file "$colour_file")
  [ "$got" = "$want" ] ||
    fail "colour file $colour_file: $(diff <(echo "$want") <(echo "$got") | grep '^[<>]' | head -n6 | tr '\n' ';')"
}

# Opens the palette of colour button KEY and picks the cell of COLOUR ("R,G,B").
choose_colour() { lt_pick_palette_cell "$1" "$(lt_palette_cell "$2")"; }

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
kbsim_ok "write lighting $((profile * LT_BLOCK_SIZE + LT_MODE)) 14" >/dev/null
lt_write_switch 1
[ ! -e "$colour_file" ] || fail "a colour file of profile $profile is left from before: $colour_file"

start_program 1
all_red=$(expected_leds "" "$RED,1")
lt_wait_leds "$profile" "$all_red" "per-key area after the connect on a profile without a colour file"
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
lt_wait_leds "$profile" "$(expected_leds "$painted $BASE_KEY=$BLACK,1" "$RED,1")" "per-key area after painting"
check_colour_file 1 "$BLACK" "$PAINT" "$(expected_leds "$painted $BASE_KEY=$BLACK,1" "$RED,1")"
expect_picture "keys after painting" \
  "${PAINTED_KEYS[0]}=$PAINT" "${PAINTED_KEYS[1]}=$PAINT" "${PAINTED_KEYS[2]}=$PAINT" \
  "$BASE_KEY=$BLACK" "$PLAIN_KEY=$RED"
screenshot painted_keys

# ---- a new base colour: D and every key that follows the base take it ----
choose_colour CONTROL_USERjsButton "$BASE"
final=$(expected_leds "$painted" "$BASE,1")
lt_wait_leds "$profile" "$final" "per-key area after the base colour changed"
check_colour_file 1 "$BASE" "$PAINT" "$final"
final_picture=("${PAINTED_KEYS[0]}=$PAINT" "${PAINTED_KEYS[1]}=$PAINT" "${PAINTED_KEYS[2]}=$PAINT"
  "$BASE_KEY=$BASE" "$PLAIN_KEY=$BASE")
expect_picture "keys after the base colour changed" "${final_picture[@]}"
screenshot base_colour_changed

# ---- a restart sends the colours again ----
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
# Wiped, so that only a fresh send can bring the colours back.
kbsim_ok "write colours $((profile * LT_COLOURS_SIZE)) $(printf '00%.0s' $(seq 1 "$LT_LED_BYTES"))" >/dev/null
[ -z "$(lt_led_mismatches "$profile" "$(expected_leds "" "$BLACK,1")")" ] || fail "the per-key area was not wiped"
start_program 2
lt_wait_leds "$profile" "$final" "per-key area after a restart"
check_colour_file 1 "$BASE" "$PAINT" "$final"
expect_picture "keys after a restart" "${final_picture[@]}"
screenshot after_restart

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
