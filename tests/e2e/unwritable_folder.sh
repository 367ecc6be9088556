#!/usr/bin/env bash
# The real program under Xvfb, started from a folder its user cannot write
# (as the unprivileged user "nobody" when run as root, since root may write
# anywhere): the window comes up, a calculation saved to the base is told as
# not kept, the program closes normally, and the folder holds what it held.
# Usage: unwritable_folder.sh <zelmora executable> <screenshot.png>
source "$(dirname "$(readlink -f "$0")")/setup.sh" "$@"
printf 'kept' >"$work/app/notes.txt"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$work/config" "$work/tmp" "$work/run" "$work/cache"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env --)
else
  chmod a-w "$work/app"
fi
before=$(cd "$work/app" && ls -la --time-style=+ . && sha256sum notes.txt)
start_display
"$OFFLINE" "${as_user[@]}" env DISPLAY="$DISPLAY" LANG=C.UTF-8 ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
  LSAN_OPTIONS="${LSAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" HOME="$work/config" XDG_CONFIG_HOME="$work/config" \
  TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" XDG_CACHE_HOME="$work/cache" "$exe" 2>"$work/err" &
pid=$!
pids+=($pid)
win=$(main_window)
base=$(save_calculation "$win" "kept?")
focus "$base"
xdotool key Escape
gone "$base" || fail "the base window stayed"
# The calculation could not be kept in the base: a box says so. Every box
# other than the main window is answered with Return, until none comes.
told=0
while b=$(other_window "$win" $((told ? 1 : 10))); do
  told=$((told + 1))
  [ "$told" -eq 1 ] && import -window root "$2"
  echo "told: $(xdotool getwindowname "$b")"
  focus "$b"
  xdotool key Return
  gone "$b" || fail "box $b stayed"
done
[ "$told" -ge 1 ] || { cat "$work/err"; fail "nothing was told"; }
close_with_ctrl_x "$win" "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "told $told time(s)"
after=$(cd "$work/app" && ls -la --time-style=+ . && sha256sum notes.txt)
[ "$before" = "$after" ] || { diff <(echo "$before") <(echo "$after"); fail "the folder changed"; }
echo ok
