#!/usr/bin/env bash
# Import from the main menu. A corrupt settings file gives the format message with its path and
# then the import's own message, and changes neither the keyboard nor the cache file. A settings
# file the keyboard has never held (another key at one place of each profile, each profile's D on
# a macro of its own, three macros) reaches the keyboard whole: the remapped places send the new
# keys, every other place keeps its entry, the cache file equals the imported file, and the program
# started afresh without its cache reads back from the keyboard exactly the file's keys and macros.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
source "$(dirname "$0")/app_helpers.sh"
source "$(dirname "$0")/data_safety_helpers.sh"
source "$(dirname "$0")/settings_transfer_helpers.sh"
harness_init app_settings_import
E2E_FORCE_XVFB=1 start_display
start_kbsim --attached
rm -rf "$(app_user_folder)"
cache=$(app_cache_file)

# The keyboard holds a macro of its owner's; the files are new to it.
kbsim_ok "write macro 0 $DS_MACRO_IMAGE" >/dev/null
files=$(st_folder)
"$APP_PYTHON" "$ST_SETTINGS_FILE" "$files/foreign.fwc"
"$APP_PYTHON" "$ST_SETTINGS_FILE" "$files/corrupt.fwc" --corrupt
FACTORY=$(kbsim_ok "read defaultmap 0 378" | tr a-f A-F)

wine_start "$E2E_WORK/app.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open with the keyboard attached"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the connect"
keyboard_before=$(st_keyboard_settings)
cache_before=$(ds_hash "$cache")

# A corrupt file: two messages, nothing changed.
st_menu_import
corrupt_path=$(st_windows_path "$files/corrupt.fwc")
st_file_dialog Open "$corrupt_path"
box=$(ds_wait_box "$ST_FORMAT_ERROR" 20) || fail "no format message; boxes: $(ds_boxes)"
grep -qF "corrupt.fwc" <<<"$box" || fail "the format message does not name the file: $box"
screenshot corrupt_format_message
ds_answer 1
st_dismiss_box "$ST_IMPORT_FAILED" >/dev/null
screenshot corrupt_import_message
expect_eq "" "$(ds_boxes)" "message boxes after the corrupt file"
expect_eq "$keyboard_before" "$(st_keyboard_settings)" "keyboard after the corrupt file"
expect_eq "$cache_before" "$(ds_hash "$cache")" "cache file after the corrupt file"

# The foreign file.
st_menu_import
st_file_dialog Open "$(st_windows_path "$files/foreign.fwc")"
for ((i = 0; i < 60; i++)); do
  [ "$(st_keyboard_settings)" != "$keyboard_before" ] && break
  sleep 0.5
done
ds_wait_settled_file "$cache" 30 || fail "the cache file did not settle after the import"
sleep 1
expect_eq "" "$(ds_boxes)" "message boxes after the import"
expect_eq "$(ds_hash "$files/foreign.fwc")" "$(ds_hash "$cache")" "cache file against the imported file"
expect_eq disabled "$(ds_apply_state)" "Apply after the import"
screenshot imported

# The places the file remaps send the new keys, D plays a macro in every profile, and every
# other place of the three maps keeps its factory entry.
maps=$(kbsim_ok "read keymap 0 1134" | tr a-f A-F)
"$APP_PYTHON" - "$FACTORY" "$maps" "$("$APP_PYTHON" "$ST_SETTINGS_FILE" --expect)" <<'PY' || fail "key maps after the import"
import sys
factory, maps, expect = sys.argv[1], sys.argv[2], sys.argv[3]
USAGE_OF_SCAN = {0x1E: 0x04, 0x10: 0x14, 0x2C: 0x1D}
D_ENTRY = "020207"
entries = lambda m: [m[i:i + 6] for i in range(0, len(m), 6)]
fact = entries(factory)
remapped = {}
for line in expect.splitlines():
    profile, scan, entry = line.split()
    pos = fact.index("0202%02X" % USAGE_OF_SCAN[int(scan, 16)])
    remapped[(int(profile), pos)] = entry
d_pos = fact.index(D_ENTRY)
errors = []
for profile in range(3):
    got = entries(maps[profile * 756:(profile + 1) * 756])
    for pos, want in enumerate(fact):
        if (profile, pos) in remapped:
            if got[pos] != remapped[(profile, pos)]:
                errors.append("profile %d place %d: %s, wanted %s" % (profile, pos, got[pos], remapped[(profile, pos)]))
        elif pos == d_pos:
            if got[pos] == want:
                errors.append("profile %d: D still sends D" % profile)
        elif got[pos] != want:
            errors.append("profile %d place %d: %s, factory %s" % (profile, pos, got[pos], want))
    if profile == 0:
        first_macro = got[d_pos]
    elif got[d_pos] == first_macro:
        errors.append("profile %d: D plays the first profile's macro" % profile)
if errors:
    sys.exit("\n".join(errors))
PY
header=$(kbsim_ok "read macro 0 6" | tr a-f A-F)
expect_eq "AA55" "${header:0:4}" "macro memory's magic"
expect_eq "0300" "${header:8:4}" "macro count in the keyboard"

# Read back by the program itself, started afresh without its per-user folder: the keyboard gives
# the file's key table and macros back.
wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
rm -rf "$(app_user_folder)"
wine_start "$E2E_WORK/app2.out" Vendrel.exe
app_wait_window shown 60 || fail "the window did not open again"
ds_wait_settled_file "$cache" 30 || fail "no cache file after the second connect"
"$APP_PYTHON" - "$files/foreign.fwc" "$cache" <<'PY' || fail "the keyboard read back differs from the file"
import sys
want = open(sys.argv[1], "rb").read()
got = open(sys.argv[2], "rb").read()
# The header and everything after the descriptor; the descriptor carries the keyboard's ids.
for name, a, b in (("header", want[:32], got[:32]), ("keys and macros", want[64:], got[64:])):
    if a != b:
        first = next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))
        sys.exit("%s differs from byte %d (lengths %d, %d)" % (name, first, len(a), len(b)))
PY

wine_run Vendrel.exe /Kill
app_wait_ended 20 || fail "/Kill did not end the program"
