#!/usr/bin/env bash
# The installer as a user meets it. A silent install with /D= lands in the folder given, and its
# silent uninstall, with nothing running, removes it without starting the program. A silent install
# into Program Files puts there exactly the build's program, library, skin, help and Package
# folder, an uninstaller registered in Add/Remove programs, a Start-menu entry and the Run value
# with "/Start"; the installed program, started by that Run value's command line, connects to
# kbsim. An install over the running program ends it first and keeps the user's colour file.
# The registered quiet uninstall, run while the program runs, ends it and removes the
# program's files, the entry, the Run value and the registration, and keeps the user's settings:
# the cache file the program wrote, the light switch's wskb.ini in the documents folder and a
# per-key colour file beside the skin, and an update program the user put into Package. The shared
# prefix is left as it was found.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
harness_init app_installer
# A private Xvfb always: the tray icon is read from Wine's own tray window.
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
# Shortcuts would otherwise be mirrored into the Linux desktop's menus, outside the prefix.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

PRODUCT="Corvasse Vendrel Gaming Keyboard"
if [ "$WINEARCH" = win64 ]; then
  pack=(--amd64)
  installer="$E2E_BUILD/Vendrel-Setup-x64.exe"
else
  pack=()
  installer="$E2E_BUILD/Vendrel-Setup.exe"
fi
bash "$E2E_REPO/scripts/package" "${pack[@]}" "$E2E_BUILD" >&2 || fail "the installer was not made"

DRIVE_C="$WINEPREFIX/drive_c"
PROGRAM_WIN="C:\\Program Files\\$PRODUCT"
PROGRAM_DIR="$DRIVE_C/Program Files/$PRODUCT"
OTHER_WIN="C:\\VendrelElsewhere"
OTHER_DIR="$DRIVE_C/VendrelElsewhere"
SHORTCUT="$DRIVE_C/ProgramData/Microsoft/Windows/Start Menu/Programs/$PRODUCT.lnk"
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vendrel'
DOCUMENTS=$(app_documents_folder)
LIGHT_SWITCH="$DOCUMENTS/Orvane_05D/wskb.ini"
COLOUR_FILE="$PROGRAM_DIR/Skins/UserDengColor_1.userd"

# Prints the data of registry value NAME of KEY; fails when it is absent.
reg_value() {
  local key=$1 name=$2 out
  out=$(wine reg query "$key" /v "$name" 2>/dev/null | tr -d '\r') || return 1
  sed -n "s/^ *$name *REG_[A-Z_]* *//p" <<<"$out" | head -n1
}
reg_key_exists() { wine reg query "$1" >/dev/null 2>&1; }

# Whatever an install leaves in the prefix, removed; also what a failed run left behind, so that
# the scenario starts clean and other scenarios never meet an installed copy.
forget_installation() {
  wine reg delete "$RUN_KEY" /v Vendrel /f >/dev/null 2>&1 || true
  wine reg delete "$UNINSTALL_KEY" /f >/dev/null 2>&1 || true
  rm -rf "$PROGRAM_DIR" "$OTHER_DIR" "$SHORTCUT" "$DOCUMENTS/Orvane_05D" "$(app_user_folder)"
  rm -rf "$DRIVE_C"/users/*/Temp/~nsu*.tmp "$DRIVE_C"/users/*/Temp/ns*.tmp
}
# The harness's cleanup reads the scenario's status from $?: it is handed on, with errexit off.
trap 'installer_status=$?; set +e; wineserver -k 2>/dev/null; forget_installation; wineserver -k 2>/dev/null; (exit $installer_status); _e2e_cleanup' EXIT
_e2e_wine_used=1
forget_installation

# Runs the uninstaller the way Add/Remove programs does (its registered quiet command line) and
# waits until it is done: it hands over to a copy of itself outside the folder at once, and that
# copy deletes the uninstaller last.
uninstall_quietly() {
  local folder=$1 command exe
  command=$(reg_value "$UNINSTALL_KEY" QuietUninstallString) || fail "no quiet uninstall command registered"
  exe=${command#\"}
  exe=${exe%%\"*}
  expect_eq "\"$exe\" /S" "$command" "registered quiet uninstall command"
  wine_run "$exe" /S || fail "the uninstaller failed"
  for i in $(seq 1 300); do
    [ -e "$folder/Uninstall.exe" ] || break
    sleep 0.1
  done
  [ ! -e "$folder/Uninstall.exe" ] || fail "the uninstaller did not finish within 30 s"
  # The copy ends right after deleting the original.
  for i in $(seq 1 100); do
    uninstaller_copy_running || break
    sleep 0.1
  done
}

# Whether the uninstaller's copy in the temporary folder still runs in this scenario's prefix.
uninstaller_copy_running() {
  local pid args
  while read -r pid args; do
    [[ "$args" == *'\~nsu'*'.tmp\'* ]] || continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done < <(ps -eo pid=,args=)
  return 1
}

# ---- /D= sets the folder; an uninstall with nothing running starts nothing ----
# (Wine quotes an argument holding a space, and the installer takes /D= only unquoted: a folder
# without one.)
wine_run "$installer" /S "/D=$OTHER_WIN" || fail "silent install into $OTHER_WIN failed"
[ -f "$OTHER_DIR/Vendrel.exe" ] || fail "/D= did not install into $OTHER_DIR"
[ ! -e "$PROGRAM_DIR" ] || fail "/D= installed into Program Files as well"
expect_eq "$OTHER_WIN" "$(reg_value "$UNINSTALL_KEY" InstallLocation)" "install location of the /D= install"
uninstall_quietly "$OTHER_DIR"
[ ! -e "$OTHER_DIR" ] || fail "the uninstall left $(cd "$OTHER_DIR" && find . | tr '\n' ' ')"
expect_eq 0 "$(app_process_count)" "program processes after an uninstall with nothing running"
reg_key_exists "$UNINSTALL_KEY" && fail "the /D= install is still registered"

# ---- the silent install into Program Files ----
started=$(date +%s%N)
wine_run "$installer" /S || fail "silent install failed"
e2e_log "silent install in $((($(date +%s%N) - started) / 1000000)) ms"

# Exactly the build's files, byte for byte, and the uninstaller; no colour file of a build's run.
# A colour file of the user's own in the program folder is not the installer's and is left out.
(cd "$E2E_DIST" && { find Vendrel.exe Quorva.dll Keywarden.exe Skins Help Package \
  ! -name 'UserDengColor_[012].userd' 2>/dev/null || true; echo Uninstall.exe; } | LC_ALL=C sort) >"$E2E_WORK/expected-files.txt"
expect_installed_files() {
  (cd "$PROGRAM_DIR" && { ls; find Skins Help Package; } | LC_ALL=C sort -u | grep -vxF "${COLOUR_FILE#"$PROGRAM_DIR/"}") \
    >"$E2E_WORK/installed-files.txt"
  diff "$E2E_WORK/expected-files.txt" "$E2E_WORK/installed-files.txt" >&2 || fail "$1: installed files differ from the build's"
  while IFS= read -r f; do
    [ -f "$E2E_DIST/$f" ] || continue
    cmp -s "$E2E_DIST/$f" "$PROGRAM_DIR/$f" || fail "$1: installed $f differs from the build's"
  done <"$E2E_WORK/expected-files.txt"
}
expect_installed_files "install"
[ -d "$PROGRAM_DIR/Package" ] || fail "no Package folder"

[ -f "$SHORTCUT" ] || fail "no Start-menu entry $SHORTCUT"
grep -aqF "$PROGRAM_WIN\\Vendrel.exe" "$SHORTCUT" || fail "the Start-menu entry does not lead to the installed program"
run_command=$(reg_value "$RUN_KEY" Vendrel) || fail "no Run value: the program would not start with Windows"
expect_eq "\"$PROGRAM_WIN\\Vendrel.exe\" /Start" "$run_command" "Run value"
expect_eq "$PRODUCT" "$(reg_value "$UNINSTALL_KEY" DisplayName)" "Add/Remove programs name"
expect_eq "\"$PROGRAM_WIN\\Uninstall.exe\"" "$(reg_value "$UNINSTALL_KEY" UninstallString)" "uninstall command"

# ---- the user's settings, then the installed program as Windows would start it ----
mkdir -p "$(dirname "$LIGHT_SWITCH")"
printf '[KEYCOLOR]\r\nDengCheck=1\r\n' >"$LIGHT_SWITCH"
cp "$LIGHT_SWITCH" "$E2E_WORK/light-switch.before"
printf '[PRESENTMODE]\r\nmode=3\r\n[MODENAME]\r\n3=mine\r\n' >"$COLOUR_FILE"
cp "$COLOUR_FILE" "$E2E_WORK/colour-file.before"

run_exe=${run_command#\"}
run_exe=${run_exe%%\"*}
run_args=${run_command##*\" }
wine_start "$E2E_WORK/app.out" "$run_exe" $run_args
app_wait_started 60 || fail "the installed program did not start"
app_wait_tray connected 30 || fail "tray icon of the installed program: $(app_tray_icon)"
for pid in $(app_pids); do
  tr '\0' ' ' <"/proc/$pid/cmdline" | grep -qF "$PROGRAM_WIN\\Vendrel.exe" ||
    fail "a program runs that is not the installed one: $(tr '\0' ' ' <"/proc/$pid/cmdline")"
done
expect_eq hidden "$(app_window_state)" "window of the /Start start"
cache=$(app_cache_file)
for i in $(seq 1 100); do [ -s "$cache" ] && break; sleep 0.1; done
[ -s "$cache" ] || fail "the installed program wrote no cache file $cache"
screenshot installed_running
e2e_log "the installed program runs, connected"

# ---- installing again over the running program, as an update does ----
# The installer ends the running instance before it replaces the files, and keeps the colour file.
wine_run "$installer" /S || fail "silent install over the running program failed"
app_wait_ended 5 || fail "the install over the running program left it running"
wait "$WINE_PID" 2>/dev/null || true
expect_installed_files "install over the running program"
cmp -s "$E2E_WORK/colour-file.before" "$COLOUR_FILE" || fail "the install over the program changed the colour file"
wine_start "$E2E_WORK/app-again.out" "$run_exe" $run_args
app_wait_started 60 || fail "the program did not start again after the update"
app_wait_tray connected 30 || fail "tray icon after the update: $(app_tray_icon)"
e2e_log "the updated program runs, connected"

# ---- the quiet uninstall while the program runs ----
# An update program the user put into Package is not the installer's either.
printf 'MZ stand-in update program' >"$PROGRAM_DIR/Package/MyUpdate.exe"
uninstall_quietly "$PROGRAM_DIR"
app_wait_ended 20 || fail "the program still runs after the uninstall"
wait "$WINE_PID" 2>/dev/null || true
[ -d "$PROGRAM_DIR" ] || fail "the uninstall removed the colour file's folder with it"
(cd "$PROGRAM_DIR" && find . | LC_ALL=C sort | tr '\n' ' ') >"$E2E_WORK/left.txt"
expect_eq ". ./Package ./Package/MyUpdate.exe ./Skins ./Skins/UserDengColor_1.userd " "$(cat "$E2E_WORK/left.txt")" \
  "what the uninstall left in the program folder"
cmp -s "$E2E_WORK/colour-file.before" "$COLOUR_FILE" || fail "the per-key colour file changed"
[ ! -e "$SHORTCUT" ] || fail "the Start-menu entry is still there"
reg_value "$RUN_KEY" Vendrel >/dev/null && fail "the Run value is still there"
reg_key_exists "$UNINSTALL_KEY" && fail "the program is still registered in Add/Remove programs"
[ -s "$cache" ] || fail "the uninstall took the cache file"
cmp -s "$E2E_WORK/light-switch.before" "$LIGHT_SWITCH" || fail "the uninstall changed or took wskb.ini"
e2e_log "uninstall kept $cache ($(stat -c %s "$cache") bytes), wskb.ini and the colour file"
