# Helpers of the application-shell scenarios (source after tests/e2e/lib/harness.sh). They look at
# the program the way a person does: which of its windows are on the screen, the tray icon's
# colour, and its processes.

APP_TITLE="Gaming Keyboard Settings"
# The Debian Python, which has PIL (scripts/install-deps installs python3-pil).
APP_PYTHON=/usr/bin/python3

# Prints the Linux process ids of the Vendrel.exe processes running under Wine in this scenario's
# prefix, one a line (other builds on the same machine may run their own at the same time).
app_pids() {
  local pid args
  while read -r pid args; do
    [[ "$args" =~ ^([A-Za-z]:.*\\)?Vendrel\.exe( |$) ]] || continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    echo "$pid"
  done < <(ps -eo pid=,args=)
}

# Prints the number of those processes.
app_process_count() {
  app_pids | wc -l
}

# Prints "shown" when the main window is mapped on the screen, "hidden" otherwise.
app_window_state() {
  local info
  info=$(xwininfo -name "$APP_TITLE" 2>/dev/null) || { echo hidden; return 0; }
  if grep -q 'Map State: IsViewable' <<<"$info"; then echo shown; else echo hidden; fi
}

# Waits up to S seconds (default 20) until app_window_state prints STATE.
app_wait_window() {
  local state=$1 seconds=${2:-20} i
  for ((i = 0; i < seconds * 10; i++)); do
    if [ "$(app_window_state)" = "$state" ]; then
      # The window opens while the connect refresh still reads the keyboard; a click meant for
      # the settings waits until the program talks to the keyboard no more.
      [ "$state" = shown ] && app_wait_keyboard_quiet
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Waits until kbsim's packet log has not grown for half a second (at most S seconds, default 20);
# never fails: a keyboard that stays busy is the caller's to check.
app_wait_keyboard_quiet() {
  local seconds=${1:-20} end before after
  [ -n "${KBSIM_LOG:-}" ] && [ -f "$KBSIM_LOG" ] || return 0
  end=$((SECONDS + seconds))
  after=$(wc -l <"$KBSIM_LOG")
  while [ "$SECONDS" -le "$end" ]; do
    before=$after
    sleep 0.5
    after=$(wc -l <"$KBSIM_LOG")
    [ "$before" = "$after" ] && return 0
  done
  return 0
}

# Context switches (voluntary and not) of every thread of PID, one "TID COUNT" a line.
app_thread_switches() {
  local status tid
  for status in /proc/"$1"/task/*/status; do
    tid=${status%/status}
    tid=${tid##*/}
    awk -v tid="$tid" '/^(non)?voluntary_ctxt_switches:/ { n += $2 } END { if (NR) print tid, n }' "$status" 2>/dev/null
  done
}

# Prints how many times the threads of PID ran during SECONDS: the growth of their context
# switch counts, a thread started meanwhile counted whole, one that ended not counted.
# The scenarios allow at most 2, also on a busy machine of two shared cores, because the count of a
# blocked thread grows only when the program itself is woken: load from other processes makes a
# running thread wait (an involuntary switch), but once the program has settled none of its threads
# runs. One stray wake of one thread costs 1 or 2 (its return to sleep, and a preemption while it
# ran); a timer or a poll, the fault looked for, costs one per period, so ten or more in 5 s.
app_wakeups_during() {
  local pid=$1 seconds=$2 before
  before=$(app_thread_switches "$pid")
  sleep "$seconds"
  kill -0 "$pid" 2>/dev/null || fail "process $pid ended while idle"
  app_thread_switches "$pid" | awk -v before="$before" '
    BEGIN { n = split(before, lines, "\n"); for (i = 1; i <= n; i++) { split(lines[i], f, " "); was[f[1]] = f[2] } }
    { total += $2 - (($1 in was) ? was[$1] : 0) }
    END { print total + 0 }'
}

# Waits until the program has started and put its icon into the tray (or S seconds).
app_wait_started() {
  local seconds=${1:-40} i
  for ((i = 0; i < seconds * 10; i++)); do
    [ "$(app_process_count)" -ge 1 ] && [ "$(app_tray_icon)" != none ] && return 0
    sleep 0.1
  done
  return 1
}

# Waits until no Vendrel.exe process is left (or S seconds).
app_wait_ended() {
  local seconds=${1:-20} i
  for ((i = 0; i < seconds * 10; i++)); do
    [ "$(app_process_count)" -eq 0 ] && return 0
    sleep 0.1
  done
  return 1
}

# Visible windows of the program other than the main window whose size makes them a dialog
# (message boxes and menus), one "WIDTHxHEIGHT+X+Y" per line.
app_other_windows() {
  local w
  for w in $(xdotool search --onlyvisible --class vendrel.exe 2>/dev/null); do
    local info
    info=$(xwininfo -id "$w" 2>/dev/null) || continue
    grep -q "\"$APP_TITLE\"" <<<"$info" && continue
    local geometry
    geometry=$(sed -n 's/^ *-geometry //p' <<<"$info")
    local width=${geometry%%x*}
    [ "${width:-0}" -ge 60 ] && echo "$geometry"
  done
  return 0
}

# Presses KEY in the program's first visible window other than the main window (a message box),
# focused first, since keys go to the focused window.
app_box_key() {
  local box
  box=$(xdotool search --onlyvisible --class vendrel.exe | while read -r w; do
    xwininfo -id "$w" | grep -q "\"$APP_TITLE\"" || echo "$w"
  done | head -n1)
  xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
  xdotool key "$1"
}

# The tray's client area on the screen: "X Y HEIGHT".
app_tray_icon_origin() {
  local info x y h
  info=$(xwininfo -name "Wine System Tray" 2>/dev/null) || return 1
  grep -q 'Map State: IsViewable' <<<"$info" || return 1
  x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  h=$(sed -n 's/^ *Height: *//p' <<<"$info")
  echo "$x $y $h"
}

# Which of the program's tray icons shows: "disconnected" (128, grey keyboard with a red badge),
# "connected" (141, cyan keyboard), "playing" (142, amber keyboard) or "none". Judged by the colour
# of the keyboard body, the upper left part of the icon, so that a badge left over from the
# previous icon does not count.
app_tray_icon() {
  local origin shot
  origin=$(app_tray_icon_origin) || { echo none; return 0; }
  shot="$E2E_WORK/tray-probe.png"
  local x y h
  read -r x y h <<<"$origin"
  import -window root -crop "40x${h}+${x}+${y}" +repage "$shot" 2>/dev/null || {
    echo none
    return 0
  }
  "$APP_PYTHON" - "$shot" <<'PY'
import sys
from PIL import Image
img = Image.open(sys.argv[1]).convert("RGB")
w, h = img.size
# The icon is the block of non-white, non-frame pixels; find its bounding box.
pts = [(x, y) for y in range(h) for x in range(w) if sum(img.getpixel((x, y))) < 600]
if not pts:
    print("none"); sys.exit(0)
xs = [p[0] for p in pts]; ys = [p[1] for p in pts]
x0, y0, x1, y1 = min(xs), min(ys), max(xs), max(ys)
if x1 - x0 < 8 or y1 - y0 < 8:
    print("none"); sys.exit(0)
body = [img.getpixel((x, y)) for y in range(y0, y0 + (y1 - y0) // 2)
        for x in range(x0, x0 + (x1 - x0) * 2 // 3)]
r = sum(p[0] for p in body) / len(body)
g = sum(p[1] for p in body) / len(body)
b = sum(p[2] for p in body) / len(body)
if b > r + 40 and g > r + 40:
    print("connected")
elif r > b + 50 and g > b + 20:
    print("playing")
elif abs(r - b) < 40 and abs(r - g) < 40:
    print("disconnected")
else:
    print("unknown %d,%d,%d" % (r, g, b))
PY
}

# Waits up to S seconds (default 20) for the tray icon to become ICON.
app_wait_tray() {
  local icon=$1 seconds=${2:-20} i
  for ((i = 0; i < seconds * 4; i++)); do
    [ "$(app_tray_icon)" = "$icon" ] && return 0
    sleep 0.25
  done
  return 1
}

# The prefix's documents folder, and the per-user folder and cache file in it.
app_documents_folder() { echo "$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/Documents"; }
app_user_folder() { echo "$(app_documents_folder)/RX73P05D"; }
app_cache_file() { echo "$(app_user_folder)/\$Profile0"; }

# Prints "X Y W H": the screen rectangle of the control that skin file INI (in Skins) places at
# BUTTONINFO/KEY inside the window titled TITLE (the window's origin plus the skin's placement).
skin_control_rect() {
  local title=$1 ini=$2 key=$3 info wx wy placement x y w h
  info=$(xwininfo -name "$title") || fail "no window \"$title\" holding $key"
  wx=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  wy=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  placement=$("$APP_PYTHON" - "$E2E_DIST/Skins/$ini" "$key" <<'PY'
import configparser, sys
raw = open(sys.argv[1], "rb").read()
text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8-sig")
ini = configparser.ConfigParser(strict=False, interpolation=None)
ini.optionxform = str
ini.read_string(text)
x, y, w, h = [int(v) for v in ini.get("BUTTONINFO", sys.argv[2]).split(",")[:4]]
print(x, y, w, h)
PY
) || fail "no placement of $key in $ini"
  read -r x y w h <<<"$placement"
  echo "$((wx + x)) $((wy + y)) $w $h"
}

# The main window's control at BUTTONINFO/KEY of the main skin.
app_control_rect() { skin_control_rect "$APP_TITLE" Main.ini "$1"; }

# Clicks the centre of the main window's control placed at BUTTONINFO/KEY of the main skin, the way
# a person clicks what they see.
app_click_control() {
  local rect x y w h
  rect=$(app_control_rect "$1") || fail "cannot click $1"
  read -r x y w h <<<"$rect"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# Saves the main window's control at BUTTONINFO/KEY, as it shows on the screen, to FILE; with
# INSET, only what lies INSET pixels in from each edge.
app_capture_control() {
  local file=$2 inset=${3:-0} rect x y w h
  rect=$(app_control_rect "$1") || fail "cannot capture $1"
  read -r x y w h <<<"$rect"
  import -window root -crop "$((w - 2 * inset))x$((h - 2 * inset))+$((x + inset))+$((y + inset))" +repage "$file"
}

# Prints how many pixels of two same-sized pictures differ.
app_pixels_differing() {
  compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

# Rests the pointer on the window's version label, over no key and no tooltip.
app_pointer_aside() {
  local x y w h
  read -r x y w h <<<"$(app_control_rect KORVEL_VER)"
  xdotool mousemove $((x + w / 2)) $((y + h / 2))
  sleep 0.5
}

# Captures the control at BUTTONINFO/KEY (INSET pixels in, default none) into $E2E_WORK/NAME.png.
app_look() { app_capture_control "$1" "$E2E_WORK/$2.png" "${3:-0}"; }

# Prints how many pixels of the captures NAME and REF differ (compare exits 1 when they differ,
# which is an answer here, not a failure).
app_look_differing() { app_pixels_differing "$E2E_WORK/$1.png" "$E2E_WORK/$2.png" || true; }

# Captures the control at KEY (INSET pixels in, default none) as NAME until it differs from
# (differs) or equals (same) the capture REF, for up to 5 s, since a busy machine may redraw late;
# fails with WHAT when it never does.
app_expect_look() {
  local key=$1 name=$2 relation=$3 ref=$4 what=$5 inset=${6:-0} i n=0
  for ((i = 0; i < 25; i++)); do
    app_look "$key" "$name" "$inset"
    n=$(app_look_differing "$name" "$ref")
    if [ "$relation" = differs ]; then [ "$n" -gt 0 ] && return 0; else [ "$n" -eq 0 ] && return 0; fi
    sleep 0.2
  done
  fail "$what ($n pixels differ from $ref)"
}
