# Helpers of the lighting scenarios (source after lib/harness.sh, app_helpers.sh and
# data_safety_helpers.sh): the light switch's settings file, the keyboard's lighting area and the
# lighting writes in kbsim's packet log, the mode combo read and driven the way a person does,
# the sliders and colour palettes clicked at their places, and which panel controls show.

LT_BLOCK_SIZE=42
LT_AREA_SIZE=$((3 * LT_BLOCK_SIZE))
# Field offsets inside a profile's lighting block.
LT_MODE=0
LT_BRIGHTNESS=1
LT_SPEED=2
LT_MULTICOLOUR=4
LT_COLOUR=5
LT_SLIDER_MAX=5
# The palette below a colour button: 10 columns of 18-pixel cells, 4 pixels in; window 188 x 68.
LT_PALETTE_COLUMNS=10
LT_PALETTE_CELL=18
LT_PALETTE_MARGIN=4
LT_PALETTE_SIZE=188x68

# The number of a control id of the main window (resource_ids.h), e.g. lt_id IDC_MODE_COMBO.
lt_id() {
  local id
  id=$(sed -n "s/^#define $1 \([0-9]*\).*/\1/p" "$E2E_REPO/src/app/resource_ids.h")
  [ -n "$id" ] || fail "no control id $1"
  echo "$id"
}

# ---- the light switch's settings file ----

lt_switch_folder() { echo "$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/Documents/Orvane_05D"; }
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
lt_wait_field() {
  local profile=$1 offset=$2 hex=$3 seconds=${4:-10} i
  for ((i = 0; i < seconds * 5; i++)); do
    [ "$(lt_field "$profile" "$offset" $((${#hex} / 2)))" = "$hex" ] && return 0
    sleep 0.2
  done
  return 1
}

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

# Waits up to S seconds (default 10) until a transfer has ended after the log line MARK.
lt_wait_transfer() {
  local mark=$1 seconds=${2:-10} i
  for ((i = 0; i < seconds * 5; i++)); do
    [ "$(ds_requests_since "$mark" 02)" -ge 1 ] && return 0
    sleep 0.2
  done
  return 1
}

# The lighting writes after MARK joined on one line, once a transfer has ended after the last of
# them (waits up to 10 s for a write and that end).
lt_writes_done() {
  local mark=$1 i
  for ((i = 0; i < 50; i++)); do
    tail -n +"$((mark + 1))" "$KBSIM_LOG" | grep -E " > 04[0-9A-F]{4}(06|02)" | tail -n1 |
      grep -qE " > 04[0-9A-F]{4}02" && [ -n "$(lt_lighting_writes "$mark")" ] && break
    sleep 0.2
  done
  lt_lighting_writes "$mark" | paste -sd' '
}

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
lt_wait_selected_name() {
  local name=$1 seconds=${2:-10} i
  for ((i = 0; i < seconds * 5; i++)); do
    [ "$(lt_combo_selected_name)" = "$name" ] && return 0
    sleep 0.2
  done
  return 1
}

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

# Clicks the colour button at BUTTONINFO/KEY, waits for its palette and clicks cell CELL.
lt_pick_palette_cell() {
  local key=$1 cell=$2 geometry="" i px py
  app_click_control "$key"
  for ((i = 0; i < 50; i++)); do
    geometry=$(app_other_windows | grep -m1 "^$LT_PALETTE_SIZE+" || true)
    [ -n "$geometry" ] && break
    sleep 0.2
  done
  [ -n "$geometry" ] || fail "no palette after a click on $key"
  px=${geometry#*+}
  py=${px#*+}
  px=${px%%+*}
  xdotool mousemove \
    $((px + LT_PALETTE_MARGIN + (cell % LT_PALETTE_COLUMNS) * LT_PALETTE_CELL + LT_PALETTE_CELL / 2)) \
    $((py + LT_PALETTE_MARGIN + (cell / LT_PALETTE_COLUMNS) * LT_PALETTE_CELL + LT_PALETTE_CELL / 2)) \
    click 1
}

# The colour of palette cell CELL as the keyboard's R G B bytes (upper-case hex).
lt_palette_rgb() {
  "$APP_PYTHON" - "$E2E_REPO/src/control_logic/palette_geometry.h" "$1" <<'PY'
import re, sys
text = open(sys.argv[1]).read()
table = text[text.index("kPaletteColours"):]
table = table[:table.index("};")]
cells = re.findall(r"PaletteRgb\((\d+),\s*(\d+),\s*(\d+)\)", table)
print("%02X%02X%02X" % tuple(int(v) for v in cells[int(sys.argv[2])]))
PY
}

# The colour of the screen pixel at the centre of the main window's control at BUTTONINFO/KEY,
# as "RRGGBB".
lt_centre_colour() {
  local x y w h
  read -r x y w h <<<"$(app_control_rect "$1")"
  import -window root -crop "1x1+$((x + w / 2))+$((y + h / 2))" +repage "$E2E_WORK/pixel.png"
  convert "$E2E_WORK/pixel.png" -format '%[hex:p{0,0}]' info: | cut -c1-6 | tr a-f A-F
}

# Captures the inside of the control at BUTTONINFO/KEY, 3 pixels in from each edge where a focus
# cue does not reach, into $E2E_WORK/NAME.png.
lt_inner_look() {
  local x y w h
  read -r x y w h <<<"$(app_control_rect "$1")"
  import -window root -crop "$((w - 6))x$((h - 6))+$((x + 3))+$((y + 3))" +repage "$E2E_WORK/$2.png"
}

# Takes lt_inner_look KEY NAME until it differs from (differs) or equals (same) the capture REF,
# for up to 5 s, since a busy machine may redraw late; fails with WHAT when it never does.
lt_expect_inner_look() {
  local key=$1 name=$2 relation=$3 ref=$4 what=$5 i n=0
  for ((i = 0; i < 25; i++)); do
    lt_inner_look "$key" "$name"
    n=$(app_look_differing "$name" "$ref")
    if [ "$relation" = differs ]; then [ "$n" -gt 0 ] && return 0; else [ "$n" -eq 0 ] && return 0; fi
    sleep 0.2
  done
  fail "$what ($n pixels differ from $ref)"
}

# "visible", "hidden" or "missing": the main window's control NAME (resource_ids.h).
lt_visible() { ds_probe visible "$APP_TITLE" "$(lt_id "$1")"; }

# One letter per control NAME, space-separated: "v" visible, "h" hidden, "m" missing.
lt_shown() {
  local names=("$@") ids=() name
  for name in "${names[@]}"; do ids+=("$(lt_id "$name")"); done
  ds_probe visible "$APP_TITLE" "${ids[@]}" | cut -c1 | paste -sd' '
}

# Waits up to S seconds (default 10) until lt_visible NAME prints STATE.
lt_wait_visible() {
  local name=$1 state=$2 seconds=${3:-10} i
  for ((i = 0; i < seconds * 5; i++)); do
    [ "$(lt_visible "$name")" = "$state" ] && return 0
    sleep 0.2
  done
  return 1
}
