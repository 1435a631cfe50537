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
