#!/usr/bin/env bash
# The real program under Xvfb, with its own settings folder and temporary
# folder: a typed line survives Ctrl+X and a restart, and a second copy only
# says that the first exists.
# Usage: lists_survive.sh <zelmora executable> <screenshot.png>
source "$(dirname "$(readlink -f "$0")")/setup.sh" "$@"
start_display

# First run: type a line, close with Ctrl+X.
"$OFFLINE" "$exe" 2>"$work/first.err" &
pid=$!
pids+=($pid)
win=$(main_window)
type_line "$win" 37 +Tab +Tab 5

# A second copy while the first runs: the message, and no second window.
"$OFFLINE" "$exe" >"$work/second.out" 2>"$work/second.err" &
expect_refused $! "$work/second.err" "$2"
[ "$(xdotool search --onlyvisible --name '^Zelmora v\.' | wc -l)" -eq 1 ] || fail "a second main window"

close_with_ctrl_x "$win" "$pid"
[ -f "$conf" ] || fail "no settings file"
grep -q '^\.zm0=.*37 ' "$conf" || { cat "$conf"; fail "the line was not stored"; }
grep -q '5 ' "$conf" || fail "the count was not stored"
grep -q '^LANGUAGE=RU' "$conf" || fail "first run did not store RU"

# Second run: the line comes back; closing stores it again.
sed -i 's/^\(\.zm0=.*\)37 /\1037 /' "$conf"   # as typed by hand: read as 37 again
"$OFFLINE" "$exe" 2>"$work/third.err" &
pid=$!
pids+=($pid)
win=$(main_window)
close_with_ctrl_x "$win" "$pid"
grep -q '^\.zm0=.*"37 ' "$conf" || { cat "$conf"; fail "the line did not survive the restart"; }
echo "ok"
