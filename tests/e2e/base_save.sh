#!/usr/bin/env bash
# The real program under Xvfb, run from a folder of its own: a calculation
# saved with Ctrl+S under a typed name lands in "base.cds" beside the program,
# as the sqlite3 tool reads it.
# Usage: base_save.sh <zelmora executable> <screenshot.png>
set -euo pipefail
exe=$1
shot=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/tmp" "$work/run"
chmod 700 "$work/run"
cp "$exe" "$work/app/zelmora"
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run"
unset QT_QPA_PLATFORM
export OFFLINE="$(dirname "$(readlink -f "$0")")/offline.sh"
export STEPS="$(dirname "$(readlink -f "$0")")/steps.sh"

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$work" "$shot" <<'INNER'
set -euo pipefail
work=$1; shot=$2
fail() { echo "FAIL: $*"; exit 1; }
"$OFFLINE" "$work/app/zelmora" 2>"$work/err" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zelmora v\.' | head -n 1)
[ -n "$win" ] || fail "no main window"
. "$STEPS"
base=$(save_calculation "$win" "Yard 7") || fail "saving the calculation"
sleep 0.5
import -window root "$shot"
xdotool windowfocus --sync "$base"
xdotool key Escape
# The file appears when the program opens it, before its table and record
# are committed: read until the write is done (or give up after 10 s).
rows=""
for _ in $(seq 1 100); do
  if [ -f "$work/app/base.cds" ]; then
    rows=$(sqlite3 -cmd ".timeout 2000" "$work/app/base.cds" \
           "SELECT No, Name, Category, volume FROM records" 2>/dev/null) && [ -n "$rows" ] && break
  fi
  sleep 0.1
done
[ -f "$work/app/base.cds" ] || fail "no base.cds beside the program"
echo "$rows"
[ "$rows" = "1|Yard 7|ГОСТ 2708-75|0.38" ] || fail "unexpected record: $rows"
notes=$(sqlite3 -cmd ".timeout 10000" "$work/app/base.cds" "SELECT Notes FROM records" | tr -d '\r' | head -n 1)
[ "$notes" = "32 см." ] || fail "unexpected notes: $notes"
echo ok
INNER
