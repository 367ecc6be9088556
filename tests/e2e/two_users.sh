#!/usr/bin/env bash
# One copy per user: with root and an unprivileged user on one machine and one
# temporary folder, each runs a copy of the real program under Xvfb; a file
# the other user put under root's lock name does not keep root out; a second
# copy of root's is still refused. Needs root to start the other user's copy.
# Usage: two_users.sh <zelmora executable> <screenshot.png>
if [ "$(id -u)" -ne 0 ] || ! id nobody >/dev/null 2>&1; then
  echo "needs root and the user nobody"
  exit 77
fi
source "$(dirname "$(readlink -f "$0")")/setup.sh" "$@"
mkdir -p "$work/other/config" "$work/other/run"
chmod 1777 "$work/tmp"
chown -R nobody: "$work/other"
chmod 700 "$work/other/run"
chmod 755 "$work/app" "$exe" # the other user may run the copy
start_display
as_other() {
  "$OFFLINE" setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env HOME="$work/other" XDG_CONFIG_HOME="$work/other/config" XDG_RUNTIME_DIR="$work/other/run" \
    XDG_CACHE_HOME="$work/other" "$@"
}
windows() { [ "$(xdotool search --onlyvisible --name '^Zelmora v\.' | wc -l)" -eq "$1" ]; }

as_other "$exe" 2>"$work/other.err" &
pids+=($!)
wait_for 20 windows 1 || fail "the other user's copy shows no window"
other_lock="$work/tmp/Halvane-$(id -u nobody).lock"
[ -f "$other_lock" ] || { ls -la "$work/tmp"; fail "no lock of the other user's"; }
# The other user takes root's lock name, with a live copy's record in it.
as_other cp "$other_lock" "$work/tmp/Halvane-0.lock"

"$OFFLINE" "$exe" 2>"$work/root.err" &
pids+=($!)
wait_for 20 windows 2 || { cat "$work/root.err"; fail "root's copy was kept out by the other user's"; }
import -window root "$2"

# A second copy of root's is refused.
"$OFFLINE" "$exe" 2>"$work/second.err" &
expect_refused $! "$work/second.err"
windows 2 || fail "the refused copy left a window"
echo "ok"
