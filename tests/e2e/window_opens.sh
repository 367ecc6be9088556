#!/usr/bin/env bash
# The real program under Xvfb: its main window appears and can be captured.
# Usage: window_opens.sh <zelmora executable> <screenshot.png>
source "$(dirname "$(readlink -f "$0")")/setup.sh" "$@"
start_display
"$OFFLINE" "$exe" &
pids+=($!)
win=$(main_window)
echo "window $win: $(xdotool getwindowname "$win")"
import -window root "$2"
kill -0 "${pids[-1]}" || fail "the program ended"
