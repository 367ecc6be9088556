#!/usr/bin/env bash
# The real program under Xvfb, run from a folder of its own: a calculation
# saved with Ctrl+S under a typed name lands in "base.cds" beside the program,
# as the sqlite3 tool reads it.
# Usage: base_save.sh <zelmora executable> <screenshot.png>
source "$(dirname "$(readlink -f "$0")")/setup.sh" "$@"
start_display
"$OFFLINE" "$exe" 2>"$work/err" &
pids+=($!)
win=$(main_window)
base=$(save_calculation "$win" "Yard 7")
import -window root "$2"
focus "$base"
xdotool key Escape
# The file appears when the program opens it, before its table and record
# are committed: read until the write is done.
db=$work/app/base.cds
records() { [ -f "$db" ] && sqlite3 -cmd ".timeout 2000" "$db" "SELECT No, Name, Category, volume FROM records" | grep .; }
wait_for 10 records >/dev/null || fail "no record in base.cds beside the program"
rows=$(records)
echo "$rows"
[ "$rows" = "1|Yard 7|ГОСТ 2708-75|0.38" ] || fail "unexpected record: $rows"
notes=$(sqlite3 -cmd ".timeout 10000" "$db" "SELECT Notes FROM records" | tr -d '\r' | head -n 1)
[ "$notes" = "32 см." ] || fail "unexpected notes: $notes"
echo ok
