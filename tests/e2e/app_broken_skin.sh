#!/usr/bin/env bash
# A main skin whose background or mask picture is missing or unreadable ends the program at once
# with exit code 0, before any window or tray icon appears.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
harness_init app_broken_skin
# A private Xvfb always: the tray icon is read from Wine's own tray window, which a desktop with a
# notification area of its own would replace.
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached

# Prints the file name of SCREEN/Main or SCREEN/Mask of a skin file (UTF-16 or UTF-8).
skin_picture() {
  "$APP_PYTHON" - "$1" "$2" <<'PY'
import configparser, sys
raw = open(sys.argv[1], "rb").read()
text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8-sig")
ini = configparser.ConfigParser(strict=False, interpolation=None)
ini.read_string(text)
main = ini.get("SCREEN", "Main")
print(main if sys.argv[2] == "Main" else ini.get("SCREEN", "Mask", fallback=main))
PY
}

# case: which picture, and what happens to it
for case in "Main missing" "Mask missing" "Main garbage" "Mask garbage"; do
  read -r which damage <<<"$case"
  copy="$E2E_WORK/dist-${which}-${damage}"
  rm -rf "$copy"
  cp -r "$E2E_DIST" "$copy"
  picture=$(skin_picture "$copy/Skins/Main.ini" "$which")
  [ -f "$copy/Skins/$picture" ] || fail "the skin has no $which picture $picture to damage"
  if [ "$damage" = missing ]; then
    rm -f "$copy/Skins/$picture"
  else
    head -c 4096 /dev/urandom >"$copy/Skins/$picture"
  fi
  status=0
  # A program that does not end by itself runs into the time limit and fails the case.
  (E2E_DIST="$copy" E2E_WINE_TIMEOUT=30 wine_run Vendrel.exe) || status=$?
  expect_eq 0 "$status" "exit code with the $which picture $damage"
  expect_eq 0 "$(app_process_count)" "processes with the $which picture $damage"
  expect_eq hidden "$(app_window_state)" "window with the $which picture $damage"
  e2e_log "$which picture $damage: ended with code 0 and showed nothing"
done
