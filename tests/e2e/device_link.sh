#!/usr/bin/env bash
# The device link end to end: a Win32 probe under Wine drives our Quorva.dll through the program's
# own device link code against kbsim; every step is checked against kbsim's memory and packet log.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
harness_init device_link

probe="$E2E_PROBES/device_link_probe.exe"
[ -f "$probe" ] || fail "probe not built: $probe"
[ -f "$E2E_DIST/Quorva.dll" ] || fail "Quorva.dll not built in $E2E_DIST"

start_display
start_kbsim --attached

# What must not change: the other two key maps and the macro memory after the probe's 200 bytes.
keymap0_before=$(kbsim_ok "read keymap 0 378")
keymap2_before=$(kbsim_ok "read keymap 756 378")
macro_tail_before=$(kbsim_ok "read macro 200 512")
expect_eq normal "$(kbsim_ok mode)" "keyboard mode at start"

out="$E2E_WORK/probe.out"
wine_start "$out" "$probe"
wait_for_line "$out" '^(await-events|FAIL)' 60 || fail "probe did not reach its event step"
grep -q '^FAIL' "$out" && fail "probe: $(grep '^FAIL' "$out")"
line() { sed -n "s/^$1 //p" "$out" | head -n1; }

grep -qx loaded "$out" || fail "the loader did not load Quorva.dll"
grep -qx registered "$out" || fail "units not registered"
expect_eq 1 "$(line present)" "attached count"

# The information block the link read is the keyboard's.
expect_eq "$(kbsim_ok 'read info 0 44')" "$(line info)" "information block"

# The key map of profile 2 holds what the probe wrote, the other profiles are untouched, and it
# went over in seven key map packets (command byte 0x08) inside one transfer.
expect_eq "$(line keymap)" "$(kbsim_ok 'read keymap 378 378')" "key map of the second profile"
expect_eq "$keymap0_before" "$(kbsim_ok 'read keymap 0 378')" "key map of the first profile"
expect_eq "$keymap2_before" "$(kbsim_ok 'read keymap 756 378')" "key map of the third profile"
keymap_writes=$(awk '$2 == ">" && substr($3, 7, 2) == "08"' "$KBSIM_LOG" | wc -l)
expect_eq 7 "$keymap_writes" "key map write packets in the log"

# The first 200 bytes of macro memory, and nothing after them.
expect_eq "$(line macro)" "$(kbsim_ok 'read macro 0 200')" "macro memory"
expect_eq "$macro_tail_before" "$(kbsim_ok 'read macro 200 512')" "macro memory after the written part"

# The marked packet reached the keyboard once: the copy with the wrong check value never left the
# library, the copy with the right one was sent and answered.
expect_eq 0 "$(line refused)" "result of the call with a wrong check value"
expect_eq 0 "$(line foreign)" "keyboards found with another product's descriptor"
expect_eq 1 "$(line accepted)" "result of the same packet with the right check value"
marker=C4ECCA11EDBAD001
expect_eq 1 "$(awk -v m="$marker" '$2 == ">" && substr($3, 17, 16) == m' "$KBSIM_LOG" | wc -l)" \
  "marked packets the keyboard received"

# Unplug, plug in, press the bank key: each arrives through the library's callback.
kbsim_ok detach >/dev/null
wait_for_line "$out" '^event attach 0$' || fail "the detach did not arrive"
kbsim_ok attach >/dev/null
wait_for_line "$out" '^event attach 1$' || fail "the attach did not arrive"
kbsim_ok "event 02FF" >/dev/null
wait_for_line "$out" '^(done|FAIL)' 30 || fail "probe did not finish"
grep -q '^FAIL' "$out" && fail "probe: $(grep '^FAIL' "$out")"
wait "$WINE_PID" || fail "probe exit code $?"

# The bank key's report went out on 'CONS' and the link answered with bank B on 'LED'.
grep -qE '^[0-9]+ E FF02$' "$KBSIM_LOG" || fail "no bank key event in the log"
wait_for_line "$KBSIM_LOG" '^[0-9]+ B 0503$' 10 || fail "no bank B report in the log"
expect_eq 0503 "$(line bank)" "bank state of the link"
expect_eq 0503 "$(kbsim_ok bank)" "bank report the keyboard holds"
screenshot after-probe

# Every log line is "<micros> <dir> <hex>", packets 64 bytes, times never going back.
awk '
  $1 !~ /^[0-9]+$/ || $1 < last { print "bad time: " $0; bad = 1 }
  { last = $1 }
  ($2 == ">" || $2 == "<") && (length($3) != 128 || $3 ~ /[^0-9A-F]/) { print "bad packet: " $0; bad = 1 }
  $2 !~ /^[<>BEA]$/ { print "bad direction: " $0; bad = 1 }
  END { exit bad }' "$KBSIM_LOG" >&2 || fail "malformed packet log"

# The keyboard keeps its memory across a restart, like flash.
written_keymap=$(line keymap)
stop_kbsim
start_kbsim
expect_eq "$written_keymap" "$(kbsim_ok 'read keymap 378 378')" "key map after a kbsim restart"

# Without QUORVA_SIM the library reports no keyboard (and Init still succeeds).
QUORVA_SIM= wine_run "$probe" >"$E2E_WORK/no-sim.out" 2>&1 || true
grep -qx 'present 0' "$E2E_WORK/no-sim.out" || fail "without QUORVA_SIM the library did not report 0 devices"

# No Quorva.dll, one without its last entry point, one whose Init fails: each ends the program at
# once with exit code 0, before anything else. The probe runs from a folder holding that library.
mkdir -p "$E2E_WORK/no_library"
for folder in "$E2E_WORK/no_library" "$E2E_PROBES/missing_entry" "$E2E_PROBES/init_fails"; do
  name=$(basename "$folder")
  [ "$name" = no_library ] || [ -f "$folder/Quorva.dll" ] || fail "stand-in library not built: $folder"
  status=0
  (cd "$folder" && timeout "$E2E_WINE_TIMEOUT" wine "$probe" >"$E2E_WORK/$name.out" 2>&1) || status=$?
  expect_eq 0 "$status" "exit code with $name"
  grep -q loaded "$E2E_WORK/$name.out" && fail "the loader went on with $name"
done
e2e_log "device link checks passed"
