#!/usr/bin/env bash
# kbsim as a process: the HID port's frames, faults and attach state as the packet log shows them,
# the bank report, SIGTERM, the state file across restarts, and what it refuses at start.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
harness_init kbsim_server --no-wine

start_kbsim --attached --latency-us 200
exec {hid}<>"/dev/tcp/127.0.0.1/$KBSIM_HID_PORT"

# A read of the information block as the program frames it: report 4, checksum 0x002F over bytes
# 3..63, command 3, length 44; wrapped in a 'W' frame of 64 bytes.
zeros56=$(printf '\\x00%.0s' $(seq 1 56))
send_info_read() { printf "W\\x40\\x00\\x04\\x2F\\x00\\x03\\x2C\\x00\\x00\\x00$zeros56" >&"$hid"; }
count() { awk -v d="$1" '$2 == d' "$KBSIM_LOG" | wc -l; }
last_reply() { awk '$2 == "<"' "$KBSIM_LOG" | tail -n1 | cut -d' ' -f3; }
wait_count() {  # direction, expected number of lines
  local i
  for i in $(seq 1 100); do
    [ "$(count "$1")" -ge "$2" ] && break
    sleep 0.02
  done
  expect_eq "$2" "$(count "$1")" "'$1' lines in the log"
}

send_info_read
wait_count '<' 1
reply=$(last_reply)
expect_eq 03 "${reply:6:2}" "command code echoed"
expect_eq 00 "${reply:14:2}" "status of a good read"
expect_eq "$(kbsim_ok 'read info 0 44')" "${reply:16:88}" "information block in the reply"

# Each fault hits the next request only, as the log shows.
kbsim_ok "fault drop 1" >/dev/null
send_info_read
wait_count '>' 2
send_info_read
wait_count '<' 2
expect_eq 3 "$(count '>')" "requests received"
for fault in "wrongcode" "status ff" "status fe"; do
  kbsim_ok "fault $fault 1" >/dev/null
  before=$(count '<')
  send_info_read
  wait_count '<' $((before + 1))
  reply=$(last_reply)
  case $fault in
    wrongcode) [ "${reply:6:2}" != 03 ] || fail "wrongcode fault echoed the command" ;;
    "status ff") expect_eq FF "${reply:14:2}" "status under fault status ff" ;;
    "status fe") expect_eq FE "${reply:14:2}" "status under fault status fe" ;;
  esac
done
kbsim_ok "fault status ff 3" >/dev/null
kbsim_ok "fault clear" >/dev/null
before=$(count '<')
send_info_read
wait_count '<' $((before + 1))
expect_eq 00 "$(last_reply | cut -c15-16)" "status after fault clear"

# An unplugged keyboard receives nothing; plugged in again it answers.
kbsim_ok detach >/dev/null
received=$(count '>')
send_info_read
sleep 0.2
expect_eq "$received" "$(count '>')" "requests received while detached"
kbsim_ok attach >/dev/null
send_info_read
wait_count '>' $((received + 1))

# The key-bank output report.
printf 'B\x02\x00\x05\x03' >&"$hid"
wait_for_line "$KBSIM_LOG" '^[0-9]+ B 0503$' 5 || fail "bank report not logged"
expect_eq 0503 "$(kbsim_ok bank)" "last bank report"

# A consumer event goes out on the HID link (and into the log).
kbsim_ok "event 1811" >/dev/null
wait_for_line "$KBSIM_LOG" '^[0-9]+ E 1118$' 5 || fail "consumer event not logged"

# SIGTERM ends kbsim cleanly, and what was written survives in the state file.
kbsim_ok "write keymap 400 C0FFEE" >/dev/null
exec {hid}>&-
kill -TERM "$KBSIM_PID"
status=0
wait "$KBSIM_PID" || status=$?
expect_eq 0 "$status" "exit code after SIGTERM"
start_kbsim
expect_eq C0FFEE "$(kbsim_ok 'read keymap 400 3')" "key map after a restart"
kbsim_ok reset >/dev/null
[ "$(kbsim_ok 'read keymap 400 3')" != C0FFEE ] || fail "reset kept the written key map"
stop_kbsim

# A library that waits for kbsim to come back listens for a UDP datagram on loopback at the HID
# port's number: kbsim sends one as soon as it listens, and one on every attach.
wake_log="$E2E_WORK/wake.out"
for attempt in 1 2 3 4 5 6 7 8; do
  wake_port=$((20000 + RANDOM % 40000))
  python3 -u -c '
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.1", int(sys.argv[1])))
print("bound")
while True:
    print(s.recv(64).decode("ascii", "replace"))
' "$wake_port" >"$wake_log" 2>/dev/null &
  wake_pid=$!
  _e2e_track "$wake_pid"
  wait_for_line "$wake_log" '^bound$' 5 && break
  _e2e_end_pid "$wake_pid"
done
grep -qx bound "$wake_log" || fail "no UDP port to listen on"
"$KBSIM" --hid-port "$wake_port" --control-port $((wake_port + 1)) >"$E2E_WORK/wake-kbsim.out" 2>&1 &
KBSIM_PID=$!
_e2e_track "$KBSIM_PID"
KBSIM_CONTROL_PORT=$((wake_port + 1))
wait_for_line "$E2E_WORK/wake-kbsim.out" '^ready$' 5 || fail "kbsim on port $wake_port did not start"
wait_for_line "$wake_log" '^kbsim$' 5 || fail "no datagram when kbsim began to listen"
kbsim_ok attach >/dev/null
kbsim_ok detach >/dev/null
kbsim_ok attach >/dev/null
for i in $(seq 1 100); do [ "$(grep -cx kbsim "$wake_log")" -ge 3 ] && break; sleep 0.02; done
expect_eq 3 "$(grep -cx kbsim "$wake_log")" "datagrams after the start and two attaches"
stop_kbsim
_e2e_end_pid "$wake_pid"

# A state file that is not a kbsim state is refused and left as it was.
bad="$E2E_WORK/not-a-state.bin"
printf 'hello, not a keyboard' >"$bad"
cp "$bad" "$bad.orig"
status=0
timeout 10 "$KBSIM" --hid-port 1 --control-port 2 --state "$bad" >"$E2E_WORK/bad-state.out" 2>&1 || status=$?
[ "$status" -ne 0 ] || fail "kbsim accepted a foreign state file"
cmp -s "$bad" "$bad.orig" || fail "kbsim changed a foreign state file"
grep -qx ready "$E2E_WORK/bad-state.out" && fail "kbsim said ready with a foreign state file"

# Bad command lines end with a usage message, not a server.
status=0
timeout 10 "$KBSIM" --hid-port 1 >"$E2E_WORK/usage.out" 2>&1 || status=$?
expect_eq 2 "$status" "exit code for a missing option"
grep -q usage "$E2E_WORK/usage.out" || fail "no usage message"
e2e_log "kbsim server checks passed"
