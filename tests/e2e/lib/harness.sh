# The e2e harness: source it from a scenario script, then call harness_init NAME first.
#
#   harness_init NAME [--no-wine] work folder, screenshot folder, cleanup on any exit, Wine prefix
#   start_display                $DISPLAY if it answers, else Xvfb on a free display + openbox
#   start_kbsim [ARGS...]        kbsim on free loopback ports with its own state and log files
#   stop_kbsim                   `quit` on the control port (SIGTERM if it does not answer)
#   kbsim_ctl "COMMAND"          prints kbsim's reply line; status 0 only for "ok ..."
#   kbsim_ok "COMMAND"           prints the reply's text after "ok", fails the scenario otherwise
#   wine_run EXE [ARGS...]       runs a Windows program in the prefix, from $E2E_DIST, and waits
#   wine_start OUT EXE [ARGS...] the same in the background, output to OUT; sets WINE_PID
#   wait_for_line FILE REGEX [S] waits up to S seconds (default 20) for a matching line
#   screenshot NAME              the whole screen as $E2E_SHOTS/NAME.png
#   fail MESSAGE; expect_eq EXPECTED ACTUAL WHAT
#
# Set by the caller (CTest does) or defaulted from the repository's build/ folder:
#   E2E_BUILD (native build folder), KBSIM, E2E_WINEPREFIX; E2E_DIST and E2E_PROBES default to
#   the build that matches the Wine this machine runs (scripts/wine-env.sh).
# Set by the harness: E2E_WORK, E2E_SHOTS, KBSIM_HID_PORT, KBSIM_CONTROL_PORT, KBSIM_STATE,
#   KBSIM_LOG, QUORVA_SIM, DISPLAY, WINEPREFIX and the Wine variables.

E2E_REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
: "${E2E_BUILD:=$E2E_REPO/build}"
: "${KBSIM:=$E2E_BUILD/sim/kbsim/kbsim}"
: "${E2E_WINEPREFIX:=$E2E_BUILD/e2e/wine-prefix}"
: "${E2E_WINE_TIMEOUT:=120}"
: "${E2E_SCENARIO_TIMEOUT:=240}"  # below CTest's limit of 300 s

export WINEPREFIX="$E2E_WINEPREFIX"
source "$E2E_REPO/scripts/wine-env.sh"

_e2e_pids=()      # everything we started, ended in reverse order by cleanup
_e2e_wine_used=0
_e2e_display_ours=0
_e2e_xvfb_pid="" _e2e_openbox_pid=""

e2e_log() { echo "[$(date +%H:%M:%S)] $*" >&2; }

fail() {
  e2e_log "FAIL: $*"
  exit 1
}

expect_eq() {
  if [ "$1" != "$2" ]; then
    e2e_log "expected $3: ${1:0:200}"
    e2e_log "     got $3: ${2:0:200}"
    fail "$3 differs"
  fi
}

harness_init() {
  E2E_NAME=${1:?harness_init NAME [--no-wine]}
  # A machine where no Wine starts skips the scenario (CTest's code 77) before anything is
  # started. Where only 64-bit Wine starts, the scenarios drive the x86_64 build of the program.
  if [ "${2:-}" != --no-wine ]; then
    wine_env_select "$E2E_BUILD" || exit 77
    : "${E2E_DIST:=$VENDREL_WINE_DIST}"
    : "${E2E_PROBES:=$VENDREL_WINE_PROBES}"
    [ -f "$E2E_DIST/Vendrel.exe" ] || { echo "no $WINEARCH build of the program in $E2E_DIST" >&2; exit 1; }
  fi
  E2E_WORK="$E2E_BUILD/e2e/work/$E2E_NAME"
  E2E_SHOTS="$E2E_BUILD/e2e/screenshots/$E2E_NAME"
  rm -rf "$E2E_WORK" "$E2E_SHOTS"
  mkdir -p "$E2E_WORK" "$E2E_SHOTS"
  trap _e2e_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  # CTest ends a test that overruns with SIGKILL, which leaves no chance to clean up; end ourselves
  # first, through the trap.
  (
    trap 'kill "$nap" 2>/dev/null; exit 0' TERM
    sleep "$E2E_SCENARIO_TIMEOUT" >/dev/null 2>&1 &
    nap=$!
    wait "$nap" && e2e_log "scenario overran ${E2E_SCENARIO_TIMEOUT} s" && kill -TERM $$
  ) &
  _e2e_track $!
  [ -x "$KBSIM" ] || fail "kbsim not built: $KBSIM"
  if [ "${2:-}" != --no-wine ]; then
    "$E2E_REPO/scripts/wine-prefix" "$WINEPREFIX" >&2 || fail "no Wine prefix"
    _e2e_forget_program_state
  fi
  e2e_log "scenario $E2E_NAME: work in $E2E_WORK"
}

_e2e_track() { _e2e_pids+=("$1"); }

# Every scenario starts as on a machine where the program never ran: its per-user registry
# settings (HKCU\Software\Orvane_Talmet) are dropped from the shared prefix, and so are the
# per-user folder (the cache file and an unfinished-write file, which would make the next connect
# finish a write instead of reading the keyboard), the light switch's settings folder and the
# per-key colour files the program keeps beside its skin. The server is ended first, so that it
# cannot write them back. Scenarios that need an older settings folder, cache or colour file make
# them themselves.
_e2e_forget_program_state() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -f "$E2E_DIST"/Skins/UserDengColor_[012].userd
  rm -rf "$WINEPREFIX"/drive_c/users/*/Documents/RX73P05D "$WINEPREFIX"/drive_c/users/*/Documents/Orvane_05D
  local reg="$WINEPREFIX/user.reg"
  [ -f "$reg" ] || return 0
  awk '/^\[/ { skip = ($0 ~ /^\[Software\\\\Orvane_Talmet/) } !skip' "$reg" >"$reg.tmp" && mv "$reg.tmp" "$reg"
}

_e2e_end_pid() {
  local pid=$1 i
  kill -0 "$pid" 2>/dev/null || return 0
  kill -TERM "$pid" 2>/dev/null
  for i in $(seq 1 30); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

_e2e_cleanup() {
  local status=$?
  trap - EXIT
  if [ "$status" -ne 0 ]; then
    [ -n "${DISPLAY:-}" ] && [ "$_e2e_display_ours" = 1 ] && screenshot failure 2>/dev/null
    for f in "$E2E_WORK"/*.out "$E2E_WORK"/*.err; do
      [ -s "$f" ] || continue
      e2e_log "--- tail of $f"
      tail -n 20 "$f" | cut -c1-200 >&2
    done
  fi
  # Wine first: its processes hold the display and the kbsim connection.
  if [ "$_e2e_wine_used" = 1 ]; then
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
  fi
  local i
  for ((i = ${#_e2e_pids[@]} - 1; i >= 0; i--)); do _e2e_end_pid "${_e2e_pids[i]}"; done
  e2e_log "scenario ${E2E_NAME:-?}: $([ "$status" -eq 0 ] && echo passed || echo "failed ($status)"); screenshots in $E2E_SHOTS"
  exit "$status"
}

start_display() {
  if [ -n "${DISPLAY:-}" ] && [ "${E2E_FORCE_XVFB:-0}" != 1 ] && xdpyinfo >/dev/null 2>&1; then
    e2e_log "using display $DISPLAY"
    return 0
  fi
  # Without a window manager Wine leaves hidden windows mapped, and every look at the screen is
  # wrong; so a display counts only once openbox manages it. openbox can fail to open a display
  # that a server which just ended on the same number still answers for a moment: start over on a
  # new server then.
  local attempt
  for attempt in 1 2 3 4; do
    _e2e_start_xvfb && _e2e_start_openbox && {
      e2e_log "Xvfb on $DISPLAY with openbox"
      return 0
    }
    e2e_log "no window manager on $DISPLAY (try $attempt): $(tail -n1 "$E2E_WORK/openbox.out" 2>/dev/null)"
    _e2e_end_pid "$_e2e_openbox_pid"
    _e2e_end_pid "$_e2e_xvfb_pid"
  done
  fail "no display with a window manager"
}

_e2e_start_xvfb() {
  local fdfile="$E2E_WORK/xvfb.display" i
  : >"$fdfile"
  # Xvfb picks a free display number itself and writes it to the descriptor.
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$fdfile" 2>"$E2E_WORK/xvfb.err" &
  _e2e_xvfb_pid=$!
  _e2e_track "$_e2e_xvfb_pid"
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    kill -0 "$_e2e_xvfb_pid" 2>/dev/null || return 1
    sleep 0.05
  done
  [ -s "$fdfile" ] || return 1
  export DISPLAY=":$(head -n1 "$fdfile")"
  _e2e_display_ours=1
}

_e2e_start_openbox() {
  local i
  openbox --sm-disable >"$E2E_WORK/openbox.out" 2>&1 &
  _e2e_openbox_pid=$!
  _e2e_track "$_e2e_openbox_pid"
  for i in $(seq 1 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$_e2e_openbox_pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

start_kbsim() {
  local attempt hid control
  : "${KBSIM_STATE:=$E2E_WORK/kbsim-state.bin}"
  : "${KBSIM_LOG:=$E2E_WORK/kbsim.log}"
  for attempt in 1 2 3 4 5 6 7 8; do
    hid=$((20000 + RANDOM % 40000))
    control=$((hid + 1))
    : >"$E2E_WORK/kbsim.out"
    "$KBSIM" --hid-port "$hid" --control-port "$control" --state "$KBSIM_STATE" --log "$KBSIM_LOG" "$@" \
      >"$E2E_WORK/kbsim.out" 2>"$E2E_WORK/kbsim.err" &
    KBSIM_PID=$!
    local i
    for i in $(seq 1 100); do
      grep -qx ready "$E2E_WORK/kbsim.out" && break
      kill -0 "$KBSIM_PID" 2>/dev/null || break
      sleep 0.05
    done
    if grep -qx ready "$E2E_WORK/kbsim.out"; then
      _e2e_track "$KBSIM_PID"
      export KBSIM_HID_PORT=$hid KBSIM_CONTROL_PORT=$control KBSIM_STATE KBSIM_LOG
      export QUORVA_SIM="127.0.0.1:$hid"
      e2e_log "kbsim on $QUORVA_SIM, control port $control"
      return 0
    fi
    _e2e_end_pid "$KBSIM_PID"
    # A port in use is worth another try; anything else is not.
    grep -q 'port ' "$E2E_WORK/kbsim.err" || break
  done
  cat "$E2E_WORK/kbsim.err" >&2
  fail "kbsim did not start"
}

stop_kbsim() {
  local reply
  reply=$(kbsim_ctl quit) || true
  local i
  for i in $(seq 1 50); do
    kill -0 "$KBSIM_PID" 2>/dev/null || break
    sleep 0.05
  done
  _e2e_end_pid "$KBSIM_PID"
  [ "$reply" = "ok bye" ] || fail "kbsim did not answer quit: $reply"
}

kbsim_ctl() {
  local fd reply=""
  exec {fd}<>"/dev/tcp/127.0.0.1/$KBSIM_CONTROL_PORT" || { echo "err no connection"; return 1; }
  printf '%s\n' "$1" >&"$fd"
  IFS= read -r -t 10 reply <&"$fd" || reply="err no reply"
  exec {fd}>&-
  printf '%s\n' "$reply"
  [[ "$reply" == ok* ]]
}

kbsim_ok() {
  local reply
  reply=$(kbsim_ctl "$1") || fail "kbsim '$1' answered: $reply"
  reply=${reply#ok}
  printf '%s\n' "${reply# }"
}

wine_run() {
  _e2e_wine_used=1
  (cd "$E2E_DIST" && timeout "$E2E_WINE_TIMEOUT" wine "$@")
}

wine_start() {
  local out=$1
  shift
  _e2e_wine_used=1
  (cd "$E2E_DIST" && exec timeout "$E2E_WINE_TIMEOUT" wine "$@") >"$out" 2>"${out%.out}.err" &
  WINE_PID=$!
  _e2e_track "$WINE_PID"
}

wait_for_line() {
  local file=$1 regex=$2 seconds=${3:-20} i
  for ((i = 0; i < seconds * 20; i++)); do
    grep -qE "$regex" "$file" 2>/dev/null && return 0
    sleep 0.05
  done
  return 1
}

screenshot() {
  import -window root "$E2E_SHOTS/$1.png" || e2e_log "screenshot $1 failed"
}
