#!/usr/bin/env bash
# The real program under Xvfb: its main window appears and can be captured.
# Usage: window_opens.sh <zelmora executable> <screenshot.png>
set -euo pipefail
exe=$1
shot=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work"
unset QT_QPA_PLATFORM
export OFFLINE="$(dirname "$(readlink -f "$0")")/offline.sh"

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$exe" "$shot" <<'INNER'
set -euo pipefail
"$OFFLINE" "$1" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
win=$(timeout 20 xdotool search --sync --onlyvisible --class zelmora | head -n 1)
[ -n "$win" ] || { echo "no window"; exit 1; }
name=$(xdotool getwindowname "$win")
echo "window $win: $name"
case "$name" in Zelmora*) ;; *) echo "unexpected title"; exit 1 ;; esac
import -window root "$2"
kill -0 $pid   # still running
INNER
