# Helpers of the lighting scenarios (source after lib/harness.sh, app_helpers.sh and
# data_safety_helpers.sh): the light switch's settings file, the keyboard's lighting area and the
# lighting writes in kbsim's packet log, the keyboard's per-key colours and the colour files, the
# mode combo read and driven the way a person does, the sliders and colour palettes clicked at
# their places, and which panel controls show.

LT_BLOCK_SIZE=42
LT_AREA_SIZE=$((3 * LT_BLOCK_SIZE))
# Field offsets inside a profile's lighting block.
LT_MODE=0
LT_BRIGHTNESS=1
LT_SPEED=2
LT_MULTICOLOUR=4
LT_COLOUR=5
LT_SLIDER_MAX=5
# A profile's share of the per-key area, and the part of it that holds LEDs: 6 rows of 21, R G B.
LT_COLOURS_SIZE=512
LT_LED_BYTES=$((6 * 21 * 3))
# The palette below a colour button: 10 columns of 18-pixel cells, 4 pixels in; window 188 x 68.
LT_PALETTE_COLUMNS=10
LT_PALETTE_CELL=18
LT_PALETTE_MARGIN=4
LT_PALETTE_SIZE=188x68
# Pixels in from a control's edges that a focus cue does not reach.
LT_FOCUS_INSET=3

# Runs COMMAND ARGS... every 0.2 s until it succeeds, for up to SECONDS; returns 1 when it never
# does.
lt_poll() {
  local seconds=$1 i
  shift
  for ((i = 0; i < seconds * 5; i++)); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

# Whether COMMAND ARGS... prints exactly TEXT (a condition for lt_poll).
lt_prints() { [ "$("${@:2}")" = "$1" ]; }

# The number of a control id of the main window (resource_ids.h), e.g. lt_id IDC_MODE_COMBO.
lt_id() {
  local id
  id=$(sed -n "s/^#define $1 \([0-9]*\).*/\1/p" "$E2E_REPO/src/app/resource_ids.h")
  [ -n "$id" ] || fail "no control id $1"
  echo "$id"
}

# ---- the light switch's settings file ----

lt_switch_folder() { echo "$(app_documents_folder)/Orvane_05D"; }
lt_switch_file() { echo "$(lt_switch_folder)/wskb.ini"; }

# Creates the folder and a settings file holding DengCheck=VALUE.
lt_write_switch() {
  mkdir -p "$(lt_switch_folder)"
  printf '[KEYCOLOR]\r\nDengCheck=%s\r\n' "$1" >"$(lt_switch_file)"
}

# DengCheck of the settings file (empty without one). The program may write it as UTF-16.
lt_switch_value() {
  [ -f "$(lt_switch_file)" ] || return 0
  "$APP_PYTHON" - "$(lt_switch_file)" <<'PY'
import sys
raw = open(sys.argv[1], "rb").read()
text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8", "replace")
section = ""
for line in text.splitlines():
    line = line.strip()
    if line.startswith("["):
        section = line.strip("[]").upper()
    elif section == "KEYCOLOR" and line.split("=", 1)[0].strip().lower() == "dengcheck":
        print(line.split("=", 1)[1].strip())
PY
}

# ---- the keyboard's lighting ----

# The whole lighting area (three blocks) as upper-case hex.
lt_area() { kbsim_ok "read lighting 0 $LT_AREA_SIZE" | tr a-f A-F; }

# LEN bytes (default 1) at OFFSET of PROFILE's block, as upper-case hex.
lt_field() {
  local profile=$1 offset=$2 length=${3:-1}
  kbsim_ok "read lighting $((profile * LT_BLOCK_SIZE + offset)) $length" | tr a-f A-F
}

# Waits up to S seconds (default 10) until lt_field PROFILE OFFSET prints HEX (its length tells
# how many bytes).
lt_wait_field() { lt_poll "${4:-10}" lt_prints "$3" lt_field "$1" "$2" $((${#3} / 2)); }

# The bytes of two lighting areas (hex) that differ, "OFFSET:OLD>NEW" each, in offset order.
lt_area_diff() {
  local before=$1 after=$2 i out=()
  for ((i = 0; i < ${#before} / 2; i++)); do
    [ "${before:i*2:2}" = "${after:i*2:2}" ] || out+=("$i:${before:i*2:2}>${after:i*2:2}")
  done
  echo "${out[*]}"
}

# The lighting-area writes the keyboard received after the log line MARK (ds_log_mark), in order, one
# "ADDRESS:HEX" per write (address in the area, decimal).
lt_lighting_writes() {
  tail -n +"$(($1 + 1))" "$KBSIM_LOG" | "$APP_PYTHON" -c '
import sys
for line in sys.stdin:
    parts = line.split()
    if len(parts) != 3 or parts[1] != ">":
        continue
    packet = bytes.fromhex(parts[2])
    if len(packet) < 8 or packet[0] != 0x04 or packet[3] != 0x06:
        continue
    length, address = packet[4], packet[5] | packet[6] << 8
    print("%d:%s" % (address, packet[8:8 + length].hex().upper()))
'
}

# Whether a transfer has ended after the log line MARK.
lt_transfer_ended() { [ "$(ds_requests_since "$1" 02)" -ge 1 ]; }

# Waits up to S seconds (default 10) until a transfer has ended after the log line MARK.
lt_wait_transfer() { lt_poll "${2:-10}" lt_transfer_ended "$1"; }

# Whether the keyboard received a lighting write after the log line MARK and a transfer ended
# after the last of them.
lt_writes_ended() {
  tail -n +"$(($1 + 1))" "$KBSIM_LOG" | grep -E " > 04[0-9A-F]{4}(06|02)" | tail -n1 |
    grep -qE " > 04[0-9A-F]{4}02" && [ -n "$(lt_lighting_writes "$1")" ]
}

# The lighting writes after MARK joined on one line, once a transfer has ended after the last of
# them (waits up to 10 s for a write and that end).
lt_writes_done() {
  lt_poll 10 lt_writes_ended "$1" || true
  lt_lighting_writes "$1" | paste -sd' '
}

# ---- the keyboard's per-key colours and the colour files ----

# The LEDs of EXPECTED (lines "LED R,G,B ...", what follows the colour left aside) whose colour in
# PROFILE's per-key area differs, one "LED has R,G,B want R,G,B" a line.
lt_led_mismatches() {
  local area
  area=$(kbsim_ok "read colours $(($1 * LT_COLOURS_SIZE)) $LT_LED_BYTES")
  "$APP_PYTHON" - "$area" "$2" <<'PY'
import sys
area = bytes.fromhex(sys.argv[1])
for line in sys.argv[2].splitlines():
    led, rgb = line.split()[:2]
    led = int(led)
    has = "%d,%d,%d" % tuple(area[led * 3:led * 3 + 3])
    if has != rgb:
        print("LED %d has %s want %s" % (led, has, rgb))
PY
}

# Waits up to 10 s until PROFILE's per-key area holds the colours of EXPECTED (as above); fails
# with WHAT and the first LEDs that differ when it never does.
lt_wait_leds() {
  local profile=$1 expected=$2 what=$3
  lt_poll 10 lt_prints "" lt_led_mismatches "$profile" "$expected" ||
    fail "$what: $(lt_led_mismatches "$profile" "$expected" | head -n5 | tr '\n' ';')"
}

# The active slot of the colour file FILE (UTF-16 or 8-bit): "tool T", "jcolor R,G,B" (the base
# colour) and "color R,G,B" (the paint colour), then "LED R,G,B FOLLOWS" for every key button and
# the Fn key, in LED order, a key the file lacks read as the program reads it: red following the
# base.
lt_colour_file() {
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
for key in ("tool", "jcolor", "color"):
    print(key, ini.get(slot, key, fallback=""))
for led in sorted(set(T.CODE_TO_LED.values()) | {T.FN_LED}):
    value = ini.get(slot, str(led), fallback="255,0,0,1").split(",")
    print(led, ",".join(value[:3]), ",".join(value[3:]))
PY
}

# The key lines of lt_colour_file FILE alone.
lt_colour_file_leds() { lt_colour_file "$1" | grep -E '^[0-9]+ '; }

# ---- the mode combo ----

# The skin's name of MODE, as the program reads it: Main.ini [Mode1] when language.ini says
# language=1, [Mode] otherwise; empty when the mode has no name.
lt_mode_name() {
  "$APP_PYTHON" - "$E2E_DIST/Skins" "$1" <<'PY'
import configparser, os, re, sys
def ini(path):
    raw = open(path, "rb").read()
    text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8-sig")
    parser = configparser.ConfigParser(strict=False, interpolation=None)
    parser.read_string(text)
    return parser
def value(parser, section, key):
    # Section names match whatever their case, as the program's profile reads do.
    for name in parser.sections():
        if name.lower() == section.lower():
            return parser.get(name, key, fallback="")
    return ""
skins, mode = sys.argv[1], sys.argv[2]
leading = re.match(r"\s*[+-]?\d+", value(ini(os.path.join(skins, "language.ini")), "language", "language"))
section = "Mode1" if leading and int(leading.group()) == 1 else "Mode"
print(value(ini(os.path.join(skins, "Main.ini")), section, mode))
PY
}

# The mode combo's entries, one a line (nothing when it has none).
lt_combo_entries() { ds_probe combo "$APP_TITLE" "$(lt_id IDC_MODE_COMBO)" | sed '$d'; }

# The index of the combo's selection (-1 none).
lt_combo_selected() {
  ds_probe combo "$APP_TITLE" "$(lt_id IDC_MODE_COMBO)" | sed -n '$s/^selected //p'
}

# The text of the combo's selection; empty when nothing is selected.
lt_combo_selected_name() {
  local out selected
  out=$(ds_probe combo "$APP_TITLE" "$(lt_id IDC_MODE_COMBO)")
  selected=$(sed -n '$s/^selected //p' <<<"$out")
  [ -n "$selected" ] && [ "$selected" -ge 0 ] || return 0
  sed -n "$((selected + 1))p" <<<"$out"
}

# Waits up to S seconds (default 10) until the combo's selection reads NAME.
lt_wait_selected_name() { lt_poll "${2:-10}" lt_prints "$1" lt_combo_selected_name; }

# Picks MODE in the combo like a person: a click on the combo, a wait for its list, the list
# wheeled until the entry shows, a click on the entry.
lt_pick_mode() {
  local mode=$1 name index rect x y w h i
  name=$(lt_mode_name "$mode")
  [ -n "$name" ] || fail "the skin names no mode $mode"
  index=$(lt_combo_entries | grep -nxF -- "$name" | head -n1 | cut -d: -f1)
  [ -n "$index" ] || fail "the mode combo lacks \"$name\": $(lt_combo_entries | paste -sd'|')"
  index=$((index - 1))
  # The skin's place includes the dropped list's height: the closed box is its top strip.
  read -r x y w h <<<"$(app_control_rect CONTROL_XGcombox)"
  xdotool mousemove $((x + w / 2)) $((y + 10)) click 1
  for ((i = 0; i < 50; i++)); do
    rect=$(ds_probe combo-item "$APP_TITLE" "$(lt_id IDC_MODE_COMBO)" "$index")
    case "$rect" in
      closed) sleep 0.2 ;;
      above | below)
        # Over the list, which opens below the combo box's edit part.
        read -r x y w h <<<"$(app_control_rect CONTROL_XGcombox)"
        xdotool mousemove $((x + w / 2)) $((y + 60)) click "$([ "$rect" = above ] && echo 4 || echo 5)"
        sleep 0.2
        ;;
      missing) fail "no entry $index in the mode combo" ;;
      *) break ;;
    esac
  done
  [[ "$rect" =~ ^[0-9-]+\ [0-9-]+\ [0-9]+\ [0-9]+$ ]] || fail "the mode combo's list did not show entry $index: $rect"
  read -r x y w h <<<"$rect"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  lt_wait_selected_name "$name" || fail "the mode combo does not select \"$name\" after a click on it"
}

# ---- sliders, palettes, controls ----

# Clicks the slider at BUTTONINFO/KEY where it takes POSITION (0..5): x = position * (w - 1) / 5.
lt_click_slider() {
  local key=$1 position=$2 x y w h
  read -r x y w h <<<"$(app_control_rect "$key")"
  xdotool mousemove $((x + (position * (w - 1) + LT_SLIDER_MAX / 2) / LT_SLIDER_MAX)) $((y + h / 2)) click 1
}

# The colour of the screen pixel at X Y as "RRGGBB".
lt_screen_rgb() {
  import -window root -crop "1x1+$1+$2" +repage "$E2E_WORK/pixel.png"
  convert "$E2E_WORK/pixel.png" -format '%[hex:p{0,0}]' info: | cut -c1-6 | tr a-f A-F
}

# "R,G,B" (decimal, as colour files write it) as "RRGGBB".
lt_hex_rgb() {
  local r g b
  IFS=, read -r r g b <<<"$1"
  printf '%02X%02X%02X\n' "$r" "$g" "$b"
}

# The palette's colours in cell order, "RRGGBB" a line, as the program draws them.
lt_palette_colours() {
  local rgb
  for rgb in $(sed -n '/kPaletteColours{/,/};/p' "$E2E_REPO/src/control_logic/palette_geometry.h" |
    grep -o 'PaletteRgb([0-9, ]*)' | sed 's/[^0-9,]//g'); do
    lt_hex_rgb "$rgb"
  done
}

# The colour of palette cell CELL as the keyboard's R G B bytes (upper-case hex).
lt_palette_rgb() {
  local rgb
  rgb=$(lt_palette_colours | sed -n "$(($1 + 1))p")
  [ -n "$rgb" ] || fail "the palette has no cell $1"
  echo "$rgb"
}

# The first palette cell that shows R,G,B (decimal).
lt_palette_cell() {
  local line
  line=$(lt_palette_colours | grep -nxF "$(lt_hex_rgb "$1")" | head -n1 | cut -d: -f1)
  [ -n "$line" ] || fail "the palette has no $1"
  echo $((line - 1))
}

# Clicks the colour button at BUTTONINFO/KEY, waits for its palette, checks that cell CELL shows
# its colour and clicks it; the pointer then rests aside.
lt_pick_palette_cell() {
  local key=$1 cell=$2 geometry="" rgb i px py
  rgb=$(lt_palette_rgb "$cell")
  app_click_control "$key"
  for ((i = 0; i < 50; i++)); do
    geometry=$(app_other_windows | grep -m1 "^$LT_PALETTE_SIZE+" || true)
    [ -n "$geometry" ] && break
    sleep 0.2
  done
  [ -n "$geometry" ] || fail "no palette after a click on $key"
  px=${geometry#*+}
  py=${px#*+}
  px=$((${px%%+*} + LT_PALETTE_MARGIN + (cell % LT_PALETTE_COLUMNS) * LT_PALETTE_CELL + LT_PALETTE_CELL / 2))
  py=$((py + LT_PALETTE_MARGIN + (cell / LT_PALETTE_COLUMNS) * LT_PALETTE_CELL + LT_PALETTE_CELL / 2))
  lt_poll 5 lt_prints "$rgb" lt_screen_rgb "$px" "$py" || true
  expect_eq "$rgb" "$(lt_screen_rgb "$px" "$py")" "palette cell $cell of $key"
  xdotool mousemove "$px" "$py" click 1
  app_pointer_aside
}

# The colour of the screen pixel at the centre of the main window's control at BUTTONINFO/KEY,
# as "RRGGBB".
lt_centre_colour() {
  local x y w h
  read -r x y w h <<<"$(app_control_rect "$1")"
  lt_screen_rgb $((x + w / 2)) $((y + h / 2))
}

# app_look and app_expect_look of the inside of a control, where a focus cue does not reach.
lt_inner_look() { app_look "$1" "$2" "$LT_FOCUS_INSET"; }
lt_expect_inner_look() { app_expect_look "$1" "$2" "$3" "$4" "$5" "$LT_FOCUS_INSET"; }

# "visible", "hidden" or "missing": the main window's control NAME (resource_ids.h).
lt_visible() { ds_probe visible "$APP_TITLE" "$(lt_id "$1")"; }

# One letter per control NAME, space-separated: "v" visible, "h" hidden, "m" missing.
lt_shown() {
  local names=("$@") ids=() name
  for name in "${names[@]}"; do ids+=("$(lt_id "$name")"); done
  ds_probe visible "$APP_TITLE" "${ids[@]}" | cut -c1 | paste -sd' '
}

# Waits up to S seconds (default 10) until lt_visible NAME prints STATE.
lt_wait_visible() { lt_poll "${3:-10}" lt_prints "$2" lt_visible "$1"; }
