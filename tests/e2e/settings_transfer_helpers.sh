# Helpers of the import and export scenarios (source after lib/harness.sh, app_helpers.sh and
# data_safety_helpers.sh): the main menu's items, the system's file dialogs, settings files made
# for the scenarios, and the keyboard's memory whole.

ST_IMPORT_FAILED="File format error, import failed!"
ST_FORMAT_ERROR="wrong file format, revert to the default values"
ST_SETTINGS_FILE="$E2E_REPO/tests/e2e/settings_file.py"

# A folder of the prefix's drive C for the scenario's own files; prints its Linux path.
st_folder() {
  local dir="$WINEPREFIX/drive_c/e2e-$E2E_NAME"
  rm -rf "$dir"
  mkdir -p "$dir"
  echo "$dir"
}

# The Windows path of a file under the prefix's drive C.
st_windows_path() {
  local rel=${1#"$WINEPREFIX"/drive_c/}
  echo "C:\\${rel//\//\\}"
}

# Opens the main menu with its button and chooses the item DOWN presses below the top (1 is the
# first item), the way a person uses the keyboard in a menu.
st_menu_choose() {
  local down=$1 i
  app_click_control CONTROL_MENU
  for i in $(seq 1 50); do [ -n "$(app_other_windows)" ] && break; sleep 0.1; done
  [ -n "$(app_other_windows)" ] || fail "the menu button opened no menu"
  for ((i = 0; i < down; i++)); do xdotool key Down; sleep 0.1; done
  xdotool key Return
}
st_menu_import() { st_menu_choose 1; }
st_menu_export() { st_menu_choose 2; }

# Waits for the system's file dialog titled TITLE, types PATH into its file-name field and
# presses Return; waits until the dialog has gone.
st_file_dialog() {
  local title=$1 path=$2 w="" i
  for i in $(seq 1 100); do
    w=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1 || true)
    [ -n "$w" ] && break
    sleep 0.2
  done
  [ -n "$w" ] || fail "no \"$title\" dialog opened"
  screenshot "file_dialog_${title// /_}"
  xdotool windowactivate --sync "$w" 2>/dev/null || true
  sleep 0.3
  # Whatever the field proposes goes first.
  xdotool key End
  xdotool key --repeat 40 --delay 5 BackSpace
  xdotool type --delay 15 "$path"
  sleep 0.2
  xdotool key Return
  for i in $(seq 1 100); do
    xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  fail "the \"$title\" dialog stayed open after $path"
}

# Everything a settings file decides on the keyboard, as hex: its three key maps and its whole
# macro memory.
st_keyboard_settings() {
  local units
  units=$((16#$(kbsim_ok "read info 11 1")))
  echo "keymap $(kbsim_ok "read keymap 0 1134" | tr a-f A-F)"
  echo "macro $(kbsim_ok "read macro 0 $((units * 128))" | tr a-f A-F)"
}

# Waits up to S seconds until st_keyboard_settings prints WANTED.
st_wait_keyboard() {
  local wanted=$1 seconds=${2:-30} end
  end=$((SECONDS + seconds))
  while [ "$SECONDS" -le "$end" ]; do
    [ "$(st_keyboard_settings)" = "$wanted" ] && return 0
    sleep 0.5
  done
  return 1
}

# Dismisses the message box whose text holds TEXT with OK; prints its line.
st_dismiss_box() {
  local line
  line=$(ds_wait_box "$1" 20) || fail "no message \"$1\"; boxes: $(ds_boxes)"
  ds_answer 1
  echo "$line"
}
