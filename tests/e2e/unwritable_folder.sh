#!/usr/bin/env bash
# The real program under Xvfb, started from a folder its user cannot write
# (as the unprivileged user "nobody" when run as root, since root may write
# anywhere), a read-only base of an earlier portable run in it: the window
# comes up, a calculation saved to the base lands in the user's data folder
# beside the earlier record, nothing is told, the program closes normally,
# and the folder holds what it held.
# Usage: unwritable_folder.sh <zelmora executable> <screenshot.png>
source "$(dirname "$(readlink -f "$0")")/setup.sh" "$@"
printf 'kept' >"$work/app/notes.txt"
sqlite3 "$work/app/base.cds" "CREATE TABLE records (No INTEGER PRIMARY KEY AUTOINCREMENT, DateTime TEXT,
  Category VARCHAR(20), Name VARCHAR(30), volume DOUBLE, Notes TEXT);
  INSERT INTO records (DateTime, Category, Name, volume, Notes) VALUES ('', 'ГОСТ 2708-75', 'Yard 1', 0.1, '')"
chmod a-w "$work/app/base.cds"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$work/config" "$work/tmp" "$work/run" "$work/cache"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env --)
else
  chmod a-w "$work/app"
fi
before=$(cd "$work/app" && ls -la --time-style=+ . && sha256sum notes.txt base.cds)
start_display
"$OFFLINE" "${as_user[@]}" env DISPLAY="$DISPLAY" LANG=C.UTF-8 ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
  LSAN_OPTIONS="${LSAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" HOME="$work/config" XDG_CONFIG_HOME="$work/config" \
  TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" XDG_CACHE_HOME="$work/cache" "$exe" 2>"$work/err" &
pid=$!
pids+=($pid)
win=$(main_window)
base=$(save_calculation "$win" "kept?")
import -window root "$2"
focus "$base"
xdotool key Escape
gone "$base" || fail "the base window stayed"
close_quietly "$win" "$pid" "$work/err"
data=$work/config/.local/share/zelmora
[ "$(stat -c %a "$data")" = 700 ] || fail "the data folder is open to others: $(stat -c %a "$data")"
names=$(sqlite3 -cmd ".timeout 2000" "$data/base.cds" "SELECT Name FROM records ORDER BY No" | tr '\n' ,)
echo "in the data folder: $names"
[ "$names" = "Yard 1,kept?," ] || fail "unexpected records: $names"
after=$(cd "$work/app" && ls -la --time-style=+ . && sha256sum notes.txt base.cds)
[ "$before" = "$after" ] || { diff <(echo "$before") <(echo "$after"); fail "the folder changed"; }
echo ok
