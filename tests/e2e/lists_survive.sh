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
conf="$XDG_CONFIG_HOME/Halvane/Zelmora.conf"

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$exe" "$shot" "$conf" "$work" <<'INNER'
set -euo pipefail
exe=$1; shot=$2; conf=$3; work=$4
fail() { echo "FAIL: $*"; exit 1; }

main_window() {
  timeout 20 xdotool search --sync --onlyvisible --name '^Zelmora v\.' | head -n 1
}

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
second=$!
for _ in $(seq 1 50); do
  grep -q "Zelmora already exists." "$work/second.err" && break
  sleep 0.1
done
grep -q "Zelmora already exists." "$work/second.err" || fail "the second copy said nothing"
box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zelmora$' | head -n 1)
[ -n "$box" ] || fail "no message box"
[ "$(xdotool search --onlyvisible --name '^Zelmora v\.' | wc -l)" -eq 1 ] || fail "a second main window"
import -window root "$shot"
xdotool windowfocus --sync "$box"
xdotool key Return
timeout 10 tail --pid="$second" -f /dev/null || fail "the second copy did not end"

xdotool windowfocus --sync "$win"
xdotool key ctrl+x
timeout 10 tail --pid="$pid" -f /dev/null || fail "Ctrl+X did not close the window"
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
sleep 0.5
xdotool windowfocus --sync "$win"
xdotool key ctrl+x
timeout 10 tail --pid="$pid" -f /dev/null || fail "Ctrl+X did not close the window again"
grep -q '^\.zm0=.*"37 ' "$conf" || { cat "$conf"; fail "the line did not survive the restart"; }
echo "ok"
INNER
