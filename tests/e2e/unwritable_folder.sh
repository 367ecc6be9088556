#!/usr/bin/env bash
# The real program under Xvfb, started from a folder its user cannot write
# (as the unprivileged user "nobody" when run as root, since root may write
# anywhere): the window comes up, a calculation saved to the base is told as
# not kept, the program closes normally, and the folder holds what it held.
# Usage: unwritable_folder.sh <zelmora executable> <screenshot.png>
set -euo pipefail
exe=$1
shot=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir -p "$work/app" "$work/config" "$work/tmp" "$work/run"
cp "$exe" "$work/app/zelmora"
printf 'kept' >"$work/app/notes.txt"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$work/config" "$work/tmp" "$work/run"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env --)
else
  chmod a-w "$work/app"
fi
chmod 700 "$work/run"
before=$(cd "$work/app" && ls -la --time-style=+ . && sha256sum notes.txt)
unset QT_QPA_PLATFORM
export OFFLINE="$(dirname "$(readlink -f "$0")")/offline.sh"
export STEPS="$(dirname "$(readlink -f "$0")")/steps.sh"

# -ac: the unprivileged user cannot read the server's cookie file.
xvfb-run -a -s "-ac -screen 0 1024x768x24" bash -s "$work" "$shot" "${as_user[@]}" <<'INNER'
set -euo pipefail
work=$1; shot=$2; shift 2
fail() { echo "FAIL: $*"; cat "$work/err" 2>/dev/null; exit 1; }
"$OFFLINE" "$@" env DISPLAY="$DISPLAY" LANG=C.UTF-8 ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
  LSAN_OPTIONS="${LSAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" HOME="$work/config" XDG_CONFIG_HOME="$work/config" \
  TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" "$work/app/zelmora" 2>"$work/err" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zelmora v\.' | head -n 1)
[ -n "$win" ] || fail "no main window"
. "$STEPS"
base=$(save_calculation "$win" "kept?") || fail "saving the calculation"
sleep 0.3
xdotool windowfocus --sync "$base"
xdotool key Escape
# The calculation could not be kept in the base: a box says so. Every box
# other than the main window is answered with Return.
told=0
for _ in $(seq 1 30); do
  box=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -vx "$win" | head -n 1) || true
  if [ -n "$box" ]; then
    told=$((told + 1))
    [ "$told" -eq 1 ] && import -window root "$shot"
    echo "told: $(xdotool getwindowname "$box")"
    xdotool windowfocus --sync "$box" key Return || true
  elif [ "$told" -ge 1 ]; then
    break
  fi
  sleep 0.3
done
[ "$told" -ge 1 ] || fail "nothing was told"
xdotool windowfocus --sync "$win"
xdotool key ctrl+x
timeout 10 tail --pid="$pid" -f /dev/null || fail "Ctrl+X did not close the window"
set +e
wait "$pid"
status=$?
set -e
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "told $told time(s)"
INNER
after=$(cd "$work/app" && ls -la --time-style=+ . && sha256sum notes.txt)
[ "$before" = "$after" ] || { echo "FAIL: the folder changed"; diff <(echo "$before") <(echo "$after"); exit 1; }
echo ok
