#!/usr/bin/env bash
# Starts the game under a virtual X server, optionally sends keys with xdotool, and saves a
# screenshot: tools/screenshot.sh out.png [xdotool key names...]
set -euo pipefail
out=$1; shift
bin=${QUORVIN_BIN:-build/default/src/game_window/quorvin}
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0" & pid=$!
  sleep 2
  for k in "${@:2}"; do
    case "$k" in
      sleep:*) sleep "${k#sleep:}" ;;
      click:*) xy=${k#click:}; xdotool mousemove ${xy%,*} ${xy#*,} click 1 ;;
      *) xdotool key "$k" ;;
    esac
    sleep 0.3
  done
  import -window root "$1"
  kill $pid' "$bin" "$out" "$@"
