#!/usr/bin/env bash
# The real program under Xvfb, with its own settings folder and temporary
# folder: a typed line survives Ctrl+X and a restart, and a second copy only
# says that the first exists.
# Usage: lists_survive.sh <zelmora executable> <screenshot.png>
set -euo pipefail
exe=$1
shot=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
export OFFLINE="$(dirname "$(readlink -f "$0")")/offline.sh"
export SESSION="$(dirname "$(readlink -f "$0")")/session.sh"
conf="$XDG_CONFIG_HOME/Halvane/Zelmora.conf"

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$exe" "$shot" "$conf" "$work" <<'INNER'
set -euo pipefail
exe=$1; shot=$2; conf=$3; work=$4
source "$SESSION"

# First run: type a line, close with Ctrl+X.
"$OFFLINE" "$exe" 2>"$work/first.err" &
pid=$!
win=$(main_window)
[ -n "$win" ] || fail "no main window"
xdotool windowfocus --sync "$win"
sleep 0.5
xdotool type --delay 60 "37"
xdotool key --delay 60 Tab Tab
xdotool type --delay 60 "5"
xdotool key Return
sleep 0.5

# A second copy while the first runs: the message, and no second window.
"$OFFLINE" "$exe" >"$work/second.out" 2>"$work/second.err" &
expect_refused $! "$work/second.err" "$shot"
[ "$(xdotool search --onlyvisible --name '^Zelmora v\.' | wc -l)" -eq 1 ] || fail "a second main window"

close_with_ctrl_x "$win" "$pid"
[ -f "$conf" ] || fail "no settings file"
grep -q '^\.zm0=.*37 ' "$conf" || { cat "$conf"; fail "the line was not stored"; }
grep -q '5 ' "$conf" || fail "the count was not stored"
grep -q '^LANGUAGE=RU' "$conf" || fail "first run did not store RU"
cp "$conf" "$work/after-first.conf"

# Second run: the line comes back; closing stores it again.
sed -i 's/^\(\.zm0=.*\)37 /\1037 /' "$conf"   # as typed by hand: read as 37 again
"$OFFLINE" "$exe" 2>"$work/third.err" &
pid=$!
win=$(main_window)
[ -n "$win" ] || fail "no main window after the restart"
close_with_ctrl_x "$win" "$pid"
grep -q '^\.zm0=.*"37 ' "$conf" || { cat "$conf"; fail "the line did not survive the restart"; }
echo "ok"
INNER
