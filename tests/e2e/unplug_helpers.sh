# Helpers of the unplug scenarios (source after lib/harness.sh and app_helpers.sh): plug storms
# sent to kbsim as fast as it takes them, and what the program looks like afterwards.

# Sends PAIRS detach/attach pairs over one control connection without waiting between commands;
# every one must answer ok. The keyboard ends attached.
unplug_bounce() {
  local pairs=$1 fd i reply oks=0
  exec {fd}<>"/dev/tcp/127.0.0.1/$KBSIM_CONTROL_PORT" || fail "no control connection to kbsim"
  for ((i = 0; i < pairs; i++)); do printf 'detach\nattach\n'; done >&"$fd"
  for ((i = 0; i < 2 * pairs; i++)); do
    IFS= read -r -t 10 reply <&"$fd" || break
    [[ "$reply" == ok* ]] && oks=$((oks + 1))
  done
  exec {fd}>&-
  expect_eq $((2 * pairs)) "$oks" "kbsim's ok replies to $pairs detach/attach pairs"
}

# Sends PAIRS detach/attach pairs the way a flaky cable makes them: each command answered before
# the next goes out, GAP seconds apart (default 0.005). With END=detach one more detach follows, so
# the keyboard ends unplugged; otherwise it ends attached.
unplug_storm_paced() {
  local pairs=$1 gap=${2:-0.005} end=${3:-attach} fd i reply oks=0 sent=0 command
  exec {fd}<>"/dev/tcp/127.0.0.1/$KBSIM_CONTROL_PORT" || fail "no control connection to kbsim"
  for ((i = 0; i < pairs; i++)); do
    for command in detach attach; do
      printf '%s\n' "$command" >&"$fd"
      sent=$((sent + 1))
      IFS= read -r -t 10 reply <&"$fd" || break 2
      [[ "$reply" == ok* ]] && oks=$((oks + 1))
      sleep "$gap"
    done
  done
  if [ "$end" = detach ]; then
    printf 'detach\n' >&"$fd"
    sent=$((sent + 1))
    IFS= read -r -t 10 reply <&"$fd" && [[ "$reply" == ok* ]] && oks=$((oks + 1))
  fi
  exec {fd}>&-
  expect_eq "$sent" "$oks" "kbsim's ok replies to a paced storm of $pairs pairs"
}

# Prints what the packet log shows since the keyboard's last plug or unplug ("A" line):
# "STATE ATTACH_READS REFRESHED", STATE 01 or 00, ATTACH_READS the packets of the attach's factory
# key map read (0F) sent after it, REFRESHED 1 when that read was followed by the lighting read (05)
# that ends the window's connect refresh, and its reply: a connect refresh that started after the
# keyboard came for the last time. (The refresh reads the key maps only when no unfinished write is
# pending, so the lighting read is what every refresh has.)
unplug_since_last_plug() {
  awk '
    $2 == "A" { state = $3; reads = 0; attach = 0; refresh = 0; answered = 0; next }
    $2 == ">" && substr($3, 7, 2) == "0F" { reads++; attach = 1 }
    $2 == ">" && substr($3, 7, 2) == "05" && attach { refresh = 1 }
    $2 == "<" && substr($3, 7, 2) == "05" && refresh { answered = 1 }
    END { printf "%s %d %d\n", state == "" ? "none" : state, reads, answered }' "$KBSIM_LOG"
}

# Waits up to S seconds until the program follows the keyboard's last plug or unplug: attached
# last, the "connected" icon and a connect refresh after that attach; unplugged last, the
# "disconnected" icon and no packet after the detach. Then the log must stay quiet. Fails with
# what it saw otherwise.
unplug_expect_followed() {
  local seconds=$1 what=$2 i since state reads refreshed icon
  for ((i = 0; i < seconds * 4; i++)); do
    read -r state reads refreshed <<<"$(unplug_since_last_plug)"
    icon=$(app_tray_icon)
    if [ "$state" = 01 ] && [ "$refreshed" = 1 ] && [ "$icon" = connected ]; then break; fi
    if [ "$state" = 00 ] && [ "$icon" = disconnected ]; then break; fi
    sleep 0.25
  done
  unplug_wait_log_quiet 30 || fail "$what: the program kept talking to the keyboard"
  read -r state reads refreshed <<<"$(unplug_since_last_plug)"
  icon=$(app_tray_icon)
  e2e_log "$what: keyboard $state, $reads attach read packets after it, refreshed $refreshed, icon $icon"
  if [ "$state" = 01 ]; then
    [ "$refreshed" = 1 ] || fail "$what: no connect refresh after the last attach (icon $icon)"
    expect_eq connected "$icon" "$what: tray icon with the keyboard attached"
  else
    expect_eq 0 "$reads" "$what: attach reads after the last detach"
    expect_eq disconnected "$icon" "$what: tray icon with the keyboard unplugged"
  fi
  expect_eq "" "$(app_other_windows)" "$what: windows other than the main one"
}

# Threads of process PID right now (0 once it is gone).
unplug_thread_count() {
  local n
  n=$(ls "/proc/$1/task" 2>/dev/null | wc -l) || n=0
  echo "$n"
}

# Waits up to S seconds until kbsim's packet log has had no new line for two seconds.
unplug_wait_log_quiet() {
  local seconds=$1 last=-1 same=0 i now
  for ((i = 0; i < seconds * 4; i++)); do
    now=$(wc -l <"$KBSIM_LOG")
    if [ "$now" = "$last" ]; then
      same=$((same + 1))
      [ "$same" -ge 8 ] && return 0
    else
      same=0
      last=$now
    fi
    sleep 0.25
  done
  return 1
}

# Succeeds when the packet log, after its first SKIP lines, holds an attach's read of the factory
# key map (command 0F) followed by the refresh's read of a key map (07) and its reply: the program
# read the keyboard afresh after the plug storm ended.
unplug_refreshed_after() {
  local skip=$1
  awk -v skip="$skip" '
    NR <= skip { next }
    $2 == ">" && substr($3, 7, 2) == "0F" { attach = 1 }
    $2 == ">" && substr($3, 7, 2) == "07" && attach { refresh = 1 }
    $2 == "<" && substr($3, 7, 2) == "07" && refresh { answered = 1 }
    END { exit answered ? 0 : 1 }' "$KBSIM_LOG"
}

# Double-clicks the tray icon (Open) and waits for the main window; fails when it does not show or
# a message box ("Device is not detected") shows instead.
unplug_open_from_tray() {
  local tx ty th
  read -r tx ty th <<<"$(app_tray_icon_origin)"
  xdotool mousemove $((tx + 10)) $((ty + th / 2)) click --repeat 2 --delay 80 1
  app_wait_window shown 20 || {
    screenshot open_refused
    fail "Open from the tray did not show the window (other windows: $(app_other_windows))"
  }
  expect_eq "" "$(app_other_windows)" "message boxes after Open from the tray"
}
