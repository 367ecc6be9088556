#!/usr/bin/env bash
# The two Debian packages in dist/ installed as a system takes them, used by
# an unprivileged user with an empty home, then purged:
# - /usr/bin/zelmora shows its window under an X server of the test's own;
# - a calculation saved to the base lands in the user's data folder
#   (~/.local/share/zelmora), made the user's alone;
# - the menu's update item only tells where updates come from: a box, and
#   the activity log (saved, in the same folder, when a bad stored line is
#   reported) records that way, not an update check;
# - /usr/bin/zelmora-calc computes a list;
# - after `apt-get purge` no file the packages installed is left, nor the
#   service's state, settings or systemd links.
# Installing needs root: elsewhere it says SKIPPED (exit 77). It removes the
# packages and its user at the end, however it ends.
# Usage: installed.sh <dist folder>
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: installing the packages needs root"
  exit 77
fi
dist=$(readlink -f "$1")
packages=(zelmora zelmora-service)
user=zeltest$$
purged=0
uninstall() {
  if [ "$purged" -eq 0 ]; then
    apt-get purge -y -q "${packages[@]}" >/dev/null 2>&1 || true
  fi
  if getent passwd "$user" >/dev/null; then userdel -r "$user" 2>/dev/null || true; fi
}
trap uninstall EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$dist"/zelmora_*.deb "$dist"/zelmora-service_*.deb >/dev/null

# The X server, the waits and the keys of the end-to-end tests; their
# clean-up runs before the packages go.
source "$(dirname "$(readlink -f "$0")")/../e2e/setup.sh" /usr/bin/zelmora
trap 'cleanup; uninstall' EXIT

mkdir "$work/skel"
useradd --create-home --skel "$work/skel" --shell /usr/sbin/nologin "$user"
home=$(getent passwd "$user" | cut -d: -f6)
[ -z "$(ls -A "$home")" ] || fail "the home is not empty"
chown "$user" "$work/run"

start_display
as_user=(setpriv --reuid="$user" --regid="$user" --init-groups --reset-env --
         env DISPLAY="$DISPLAY" LANG=C.UTF-8 XDG_RUNTIME_DIR="$work/run")
start_program() {
  "$OFFLINE" "${as_user[@]}" /usr/bin/zelmora 2>"$work/err" &
  pid=$!
  pids+=($pid)
}
start_program
# The first start in an empty home makes the user's font cache first.
win=$(window '^Zelmora v\.' 60 "main window")
base=$(save_calculation "$win" "Installed 1")
focus "$base"
xdotool key Escape
gone "$base" || fail "the base window stayed"
data=$home/.local/share/zelmora
records() { [ -f "$data/base.cds" ] && sqlite3 -cmd ".timeout 2000" "$data/base.cds" "SELECT Name, volume FROM records" | grep .; }
wait_for 10 records >/dev/null || { cat "$work/err"; fail "no record in $data/base.cds"; }
[ "$(records)" = "Installed 1|0.38" ] || fail "unexpected record: $(records)"
[ "$(stat -c '%U %a' "$data")" = "$user 700" ] || fail "the data folder is $(stat -c '%U %a' "$data")"
close_quietly "$win" "$pid" "$work/err"

# The update item, in a second run: a box, and the activity log says which
# way it went. The log is saved where an error is reported: a board list
# whose second length does not read, reported when its tab comes forward.
sed -i 's/^\.zm1=.*/.zm1="10,5,\\"4,0\\",1,0,20,5,abc,2,0"/' "$home/.config/Halvane/Zelmora.conf"
start_program
win=$(main_window)
menu_update "$win"
answer Return
click "$win" 150 362 # the boards' tab
answer Escape        # "Send to Halvane ?"
logged() { iconv -f cp1251 "$data/zelmora.log" | grep -q "_Updates_by_the_package_manager"; }
wait_for 10 logged || { iconv -f cp1251 "$data/zelmora.log"; fail "the update item did not leave it to the package manager"; }
! iconv -f cp1251 "$data/zelmora.log" | grep -q "_UpDate" || fail "the update item looked for an update"
close_quietly "$win" "$pid" "$work/err"
[ ! -e /usr/bin/zelmora.new ] && [ ! -e /usr/bin/zelmora.log ] || fail "a file was left beside the program"

# 20 cm logs of 4 m are 0.147 m3 each by GOST 2708-75.
calc=$(printf 'Diameter,Length,Count\n20,4.0,5\n' | "${as_user[@]}" /usr/bin/zelmora-calc --format json)
grep -q '"totals": {"volume": 0.7350,' <<<"$calc" || fail "zelmora-calc: $calc"

files=$(dpkg -L "${packages[@]}" | sort -u)
apt-get purge -y -q "${packages[@]}" >/dev/null
purged=1
left=()
while read -r f; do
  # A folder another package also holds stays.
  if [ -d "$f" ] && [ ! -L "$f" ]; then
    dpkg -S "$f" >/dev/null 2>&1 || left+=("$f")
  elif [ -e "$f" ] || [ -L "$f" ]; then
    left+=("$f")
  fi
done <<<"$files"
for f in /var/lib/zelmora-service /etc/default/zelmora-service; do
  [ ! -e "$f" ] || left+=("$f")
done
while read -r f; do left+=("$f"); done < <(find /etc/systemd -name '*zelmora*')
[ "${#left[@]}" -eq 0 ] || fail "left after purge: ${left[*]}"
echo ok
