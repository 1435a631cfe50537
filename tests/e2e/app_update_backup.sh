#!/usr/bin/env bash
# The update and backup dialog, opened from the fifth item of the main menu.
# Backup writes the settings shown to the file typed into the save dialog: the same bytes as the
# cache file, a whole settings file. Start update without a program shows the message and sends
# the keyboard nothing. With a stand-in update program chosen from the Package folder, Start
# update puts the keyboard into boot mode (kbsim's mode answers boot), starts the program (it
# leaves a marker file saying it ran, in the Package folder) and closes the dialog.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
harness_init app_update_backup
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

UPDATE_TITLE="Update and Backup"
PROGRAM=update_marker_probe.exe
package="$E2E_DIST/Package"
marker="$package/update_marker.txt"
backup="$E2E_WORK/backup.fwc"
[ -f "$E2E_PROBES/$PROGRAM" ] || fail "probe not built: $E2E_PROBES/$PROGRAM"

# The stand-in program is in the shipped folder only while this scenario runs.
remove_program() { rm -f "$package/$PROGRAM" "$marker"; }
# The harness's cleanup reads the scenario's status from $?: it is handed on, with errexit off so
# that handing it on does not end the trap early.
trap 'update_status=$?; set +e; remove_program; (exit $update_status); _e2e_cleanup' EXIT
remove_program

update_state() {
  local info
  info=$(xwininfo -name "$UPDATE_TITLE" 2>/dev/null) || { echo hidden; return 0; }
  if grep -q 'Map State: IsViewable' <<<"$info"; then echo shown; else echo hidden; fi
}
wait_update() {
  local state=$1 i
  for ((i = 0; i < 100; i++)); do
    [ "$(update_state)" = "$state" ] && return 0
    sleep 0.1
  done
  return 1
}
update_click() {
  local x y w h
  read -r x y w h <<<"$(skin_control_rect "$UPDATE_TITLE" UpdateDlg.ini "$1")"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  sleep 0.3
}
# Waits for the standard file dialog titled TITLE, types TEXT into its focused file-name field and
# presses Return.
file_dialog_type() {
  local title=$1 text=$2 i window=""
  for ((i = 0; i < 100; i++)); do
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no \"$title\" dialog"
  sleep 0.5
  xdotool type --delay 20 "$text"
  xdotool key Return
  for ((i = 0; i < 100; i++)); do
    xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the \"$title\" dialog stayed open"
}
kbsim_mode() { kbsim_ok mode | tr -d ' '; }  # "normal" or "boot"

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
sleep 1

# ---- the fifth item of the main menu opens the dialog ----
app_click_control CONTROL_MENU
menu=""
for i in $(seq 1 50); do menu=$(app_other_windows | head -n1); [ -n "$menu" ] && break; sleep 0.1; done
[ -n "$menu" ] || fail "the menu button opened no menu"
screenshot main_menu
read -r mw mh mx my <<<"$(sed 's/[x+]/ /g' <<<"$menu")"
# Five items of one height: the last one lies in the bottom fifth.
xdotool mousemove $((mx + mw / 2)) $((my + mh * 9 / 10)) click 1
wait_update shown || fail "Update / Backup in the main menu opened no dialog"
sleep 0.5
screenshot update_dialog

# ---- Backup ----
update_click CONTROL_BACKUPButton
file_dialog_type "Save As" "Z:${backup//\//\\}"
ds_wait_box "Backup succeeded!" 20 >/dev/null || fail "no backup message: $(ds_boxes)"
ds_answer 1
[ -f "$backup" ] || fail "no backup file"
expect_eq 32832 "$(stat -c %s "$backup")" "size of the backup of a store without macros or texts"
expect_eq "$(ds_hash "$cache")" "$(ds_hash "$backup")" "backup against the cache file of the settings shown"

# ---- Start update without a program ----
mark=$(ds_log_mark)
update_click CONTROL_UPButton
ds_wait_box "Please choose a valid update file!" 20 >/dev/null || fail "no message without a program: $(ds_boxes)"
screenshot no_program
ds_answer 1
expect_eq 0 "$(ds_requests_since "$mark" EE)" "boot packets without a program"
expect_eq normal "$(kbsim_mode)" "kbsim's mode without a program"
expect_eq shown "$(update_state)" "dialog after the message"

# ---- a program from Package, then Start update ----
cp "$E2E_PROBES/$PROGRAM" "$package/$PROGRAM"
update_click CONTROL_OPENButton
# The open dialog starts in Package, so the name alone finds the program.
file_dialog_type "Open" "$PROGRAM"
sleep 0.5
screenshot program_chosen
[ -f "$marker" ] && fail "the program ran before Start update"
update_click CONTROL_UPButton
for i in $(seq 1 150); do [ -f "$marker" ] && break; sleep 0.1; done
[ -f "$marker" ] || fail "the update program did not run: $(ds_boxes)"
expect_eq started "$(head -n1 "$marker")" "marker of the update program"
started_in=$(sed -n 2p "$marker" | tr -d '\r')
[[ "$started_in" == *\\Package ]] || fail "the update program started in $started_in, not in Package"
expect_eq boot "$(kbsim_mode)" "kbsim's mode after Start update"
expect_eq 1 "$(ds_requests_since "$mark" EE)" "boot packets after Start update"
wait_update hidden || fail "the dialog stayed open after the program started"
expect_eq "" "$(ds_boxes)" "message boxes after a started update"
screenshot after_start

remove_program
e2e_log "update and backup: done"
