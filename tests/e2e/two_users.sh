#!/usr/bin/env bash
# One copy per user: with root and an unprivileged user on one machine and one
# temporary folder, each runs a copy of the real program under Xvfb; a file
# the other user put under root's lock name does not keep root out; a second
# copy of root's is still refused. Needs root to start the other user's copy.
# Usage: two_users.sh <zelmora executable> <screenshot.png>
set -euo pipefail
if [ "$(id -u)" -ne 0 ] || ! id nobody >/dev/null 2>&1; then
  echo "needs root and the user nobody"
  exit 77
fi
exe=$1
shot=$2
work=$(mktemp -d)
cleanup() {
  [ -f "$work/pids" ] && while read -r p; do kill "$p" 2>/dev/null || true; done <"$work/pids"
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
mkdir -p "$work/bin" "$work/tmp" "$work/root/config" "$work/root/run" "$work/other/config" "$work/other/run"
chmod 1777 "$work/tmp"
chmod 700 "$work/root/run"
chown -R nobody: "$work/other"
chmod 700 "$work/other/run"
# A copy the other user may run, wherever the build lies.
cp "$exe" "$work/bin/zelmora"
chmod 755 "$work/bin/zelmora"
export TMPDIR="$work/tmp"
unset QT_QPA_PLATFORM
export OFFLINE="$(dirname "$(readlink -f "$0")")/offline.sh"
export SESSION="$(dirname "$(readlink -f "$0")")/session.sh"

# -ac: the other user's copy may use the display too.
xvfb-run -a -s "-ac -screen 0 1024x768x24" bash -s "$work" "$shot" <<'INNER'
set -euo pipefail
work=$1; shot=$2
exe="$work/bin/zelmora"
source "$SESSION"
as_root() { XDG_CONFIG_HOME="$work/root/config" XDG_RUNTIME_DIR="$work/root/run" "$OFFLINE" "$@"; }
as_other() {
  "$OFFLINE" setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env HOME="$work/other" XDG_CONFIG_HOME="$work/other/config" XDG_RUNTIME_DIR="$work/other/run" "$@"
}
main_windows() { xdotool search --onlyvisible --name '^Zelmora v\.' 2>/dev/null | wc -l; }
wait_windows() {
  for _ in $(seq 1 100); do
    [ "$(main_windows)" -ge "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

as_other "$exe" 2>"$work/other.err" &
echo $! >"$work/pids"
wait_windows 1 || fail "the other user's copy shows no window"
other_lock="$work/tmp/Halvane-$(id -u nobody).lock"
[ -f "$other_lock" ] || { ls -la "$work/tmp"; fail "no lock of the other user's"; }
# The other user takes root's lock name, with a live copy's record in it.
as_other cp "$other_lock" "$work/tmp/Halvane-0.lock"

as_root "$exe" 2>"$work/root.err" &
echo $! >>"$work/pids"
wait_windows 2 || { cat "$work/root.err"; fail "root's copy was kept out by the other user's"; }
import -window root "$shot"

# A second copy of root's is refused.
as_root "$exe" 2>"$work/second.err" &
expect_refused $! "$work/second.err"
[ "$(main_windows)" -eq 2 ] || fail "the refused copy left a window"
echo "ok"
INNER
