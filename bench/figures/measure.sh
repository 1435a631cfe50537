# Measuring steps of scripts/bench-figures (source after tests/e2e/lib/harness.sh and
# app_helpers.sh). Times are microseconds: kbsim's log clock for what the keyboard sees, this
# machine's clock (EPOCHREALTIME) for start-up.

BENCH_TRAY_TITLE="Wine System Tray"
BENCH_QUIET_MS=${BENCH_QUIET_MS:-1500}   # no packet for this long: the exchange is over

bench_clock_us() { echo "${EPOCHREALTIME/./}"; }

# Appends one measurement: NAME RUN VALUE.
bench_record() { echo "$1 $2 $3" >>"$BENCH_FIGURES"; }

# Prints the Linux process id of the Windows program EXE (its file name, after a path without
# blanks or none) running in this prefix; not the launchers whose command lines name it later.
bench_pid_of() {
  local exe=$1 pid args
  while read -r pid args; do
    [[ "${args,,}" =~ ^([^ ]*[\\/])?"${exe,,}"( |$) ]] || continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    echo "$pid"
    return 0
  done < <(ps -eo pid=,args=)
  return 1
}

bench_tray_shown() { xwininfo -name "$BENCH_TRAY_TITLE" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# Waits up to S seconds until Wine's tray shows no icon.
bench_wait_tray_empty() {
  local seconds=${1:-20} i
  for ((i = 0; i < seconds * 20; i++)); do
    bench_tray_shown || return 0
    sleep 0.05
  done
  return 1
}

# Starts EXE (from $E2E_DIST, or a Unix path) with ARGS in the background (output to OUT) and sets
# BENCH_TRAY_US to the microseconds from the start to the first icon in Wine's tray. Wine makes its
# tray window with the first icon and destroys it with the last, so the moment is the window map
# (xev on the root window) after which the tray shows; a look every 0.25 s without an event only
# guards against a missed one. Not for $(...): WINE_PID and the cleanup's list of processes have to
# reach the caller.
bench_start_to_tray() {
  local out=$1 line t0 last_map="" status deadline
  shift
  bench_wait_tray_empty 20 || fail "the tray still shows an icon of an earlier run"
  coproc BENCH_XEV { exec stdbuf -oL xev -root -event substructure 2>/dev/null; }
  local xev_pid=$BENCH_XEV_PID xev_out=${BENCH_XEV[0]}
  _e2e_track "$xev_pid"
  # Time for xev to select the root window's events.
  sleep 0.3
  t0=$(bench_clock_us)
  deadline=$((t0 + 60000000))
  wine_start "$out" "$@"
  BENCH_TRAY_US=""
  while [ "$(bench_clock_us)" -lt "$deadline" ]; do
    status=0
    IFS= read -r -t 0.25 line <&"$xev_out" || status=$?
    if [ "$status" = 0 ]; then
      [[ "$line" == MapNotify* ]] || continue
      last_map=$(bench_clock_us)
    elif [ "$status" -le 128 ]; then
      fail "xev on the root window ended"
    fi
    if bench_tray_shown; then
      BENCH_TRAY_US=$((${last_map:-$(bench_clock_us)} - t0))
      break
    fi
  done
  kill "$xev_pid" 2>/dev/null || true
  wait "$xev_pid" 2>/dev/null || true
  [ -n "$BENCH_TRAY_US" ] || fail "no tray icon within 60 s of starting $1"
}

# Waits until kbsim's log has grown past SIZE (bytes) and then stayed still for BENCH_QUIET_MS.
bench_wait_exchange_over() {
  local size=$1 what=$2 now last changed deadline
  deadline=$(($(bench_clock_us) + 60000000))
  until [ "$(stat -c %s "$KBSIM_LOG")" -gt "$size" ]; do
    [ "$(bench_clock_us)" -lt "$deadline" ] || fail "no packet for $what"
    sleep 0.02
  done
  last=-1
  changed=$(bench_clock_us)
  while :; do
    now=$(stat -c %s "$KBSIM_LOG")
    if [ "$now" != "$last" ]; then
      last=$now
      changed=$(bench_clock_us)
    elif [ $(($(bench_clock_us) - changed)) -ge $((BENCH_QUIET_MS * 1000)) ]; then
      return 0
    fi
    [ "$(bench_clock_us)" -lt "$deadline" ] || fail "the packets of $what did not stop within 60 s"
    sleep 0.05
  done
}

# Prints "PACKETS MICROS" of the exchange that started at START_US on kbsim's clock.
bench_exchange_since() { "$APP_PYTHON" "$BENCH_SOURCE/figures/packet_window.py" "$KBSIM_LOG" "$1"; }

# One control connection: `now`, then COMMAND at once; prints kbsim's clock as COMMAND ran.
bench_now_then() {
  local fd now reply
  exec {fd}<>"/dev/tcp/127.0.0.1/$KBSIM_CONTROL_PORT" || fail "no connection to kbsim's control port"
  printf 'now\n%s\n' "$1" >&"$fd"
  IFS= read -r -t 10 now <&"$fd" || now=""
  IFS= read -r -t 10 reply <&"$fd" || reply=""
  exec {fd}>&-
  [[ "$now" == "ok "* && "$reply" == ok* ]] || fail "kbsim answered '$now' and '$reply' to now and $1"
  echo "${now#ok }"
}

# Posts command ID to the program's main window through timed_post_probe; prints kbsim's clock
# at the post.
bench_post_timed() {
  local id=$1 line
  _e2e_wine_used=1
  line=$(timeout 30 wine "$BENCH_TOOLS/timed_post_probe.exe" "$APP_TITLE" "$id" "$KBSIM_CONTROL_PORT" 2>/dev/null | tr -d '\r')
  [[ "$line" == "posted "* ]] || fail "the probe did not post $id: $line"
  echo "${line#posted }"
}

# Posts command ID to the program's main window, untimed.
bench_post() {
  local line
  _e2e_wine_used=1
  line=$(timeout 30 wine "$BENCH_TOOLS/timed_post_probe.exe" "$APP_TITLE" "$1" 2>/dev/null | tr -d '\r')
  [[ "$line" == "posted "* ]] || fail "the probe did not post $1: $line"
}

# Private memory of process PID in kB: its resident anonymous pages (RssAnon), read once two
# readings a second apart agree (at most 10 s).
bench_private_kb() {
  local pid=$1 last="" now i
  for ((i = 0; i < 10; i++)); do
    now=$(awk '/^RssAnon:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
    [ -n "$now" ] || fail "process $pid is gone"
    [ "$now" = "$last" ] && break
    last=$now
    sleep 1
  done
  echo "$now"
}
