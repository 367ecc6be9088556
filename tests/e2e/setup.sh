# The end-to-end tests' set-up, sourced first by each script with the program
# under test as $1: a work folder removed at the end with every process the
# test started (those in `pids`), the program's own settings, temporary,
# runtime and cache folders in it, and a copy of the program in $work/app (the
# base file and an update go beside it). `start_display` starts an X server of
# the test's own. Waits are on conditions, each with a limit.
set -euo pipefail
# With own_network set, the script runs again in a network namespace of its
# own (as root, else inside a user namespace too): the loopback and a pair of
# virtual interfaces joined to each other with a default route into them, so
# that the program counts itself online, the test's service on 127.0.0.1
# meets no other's, and every other address leads nowhere.
if [ -n "${own_network:-}" ] && [ -z "${ZEL_IN_NETNS:-}" ]; then
  for how in -n -rn; do
    unshare $how true 2>/dev/null && exec unshare $how env ZEL_IN_NETNS=1 bash "$0" "$@"
  done
  echo "SKIPPED: no network namespace can be made here (needs root or user namespaces)"
  exit 77
elif [ -n "${own_network:-}" ] && ! { ip link set lo up && ip link add zl0 type veth peer name zl1 \
    && ip addr add 10.77.0.1/30 dev zl0 && ip link set zl0 up && ip link set zl1 up \
    && ip route add default via 10.77.0.2 dev zl0; } 2>/dev/null; then
  echo "SKIPPED: the test's network namespace cannot be given its interfaces"
  exit 77
fi
E2E=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
OFFLINE=$E2E/offline.sh
work=$(mktemp -d)
chmod 755 "$work" # another user's copy may run from it
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  # None still writing into the folder when it goes.
  for p in "${pids[@]}"; do wait_end "$p" 5 || kill -9 "$p" 2>/dev/null || true; done
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work" || true
}
trap cleanup EXIT
mkdir -p "$work/app" "$work/config" "$work/tmp" "$work/run" "$work/cache"
chmod 700 "$work/run"
export XDG_CONFIG_HOME=$work/config TMPDIR=$work/tmp XDG_RUNTIME_DIR=$work/run XDG_CACHE_HOME=$work/cache
unset QT_QPA_PLATFORM
exe=$work/app/zelmora
cp "$1" "$exe"
conf=$XDG_CONFIG_HOME/Halvane/Zelmora.conf

# Said on the error stream, so that it shows from inside $(...) too.
fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
  local end=$((SECONDS + $1))
  shift
  until "$@" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# Waits up to $2 seconds (10) for process $1 to end.
wait_end() { timeout "${2:-10}" tail -s 0.05 --pid="$1" -f /dev/null; }

# An Xvfb server of the test's own, of $1 pixels (1024x768); DISPLAY names
# it once it takes connections. It lets in every local user (no cookie), so
# that another user's copy may use it.
start_display() {
  command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "SKIPPED: needs Xvfb and xdotool"; exit 77; }
  Xvfb -displayfd 3 -nolisten tcp -screen 0 "${1:-1024x768}x24" 3>"$work/display" 2>"$work/xvfb.err" &
  pids+=($!)
  wait_for 10 grep -q '^[0-9]' "$work/display" || { cat "$work/xvfb.err"; fail "Xvfb did not start"; }
  export DISPLAY=":$(cat "$work/display")"
}

# The first visible window whose title matches $1, within $2 seconds;
# fails saying "no $3" when none comes.
window() {
  local w
  w=$({ timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null || true; } | head -n 1)
  [ -n "$w" ] || fail "no $3"
  echo "$w"
}

# The program's main window, once it shows.
main_window() { window '^Zelmora v\.' 20 "main window"; }

# Window $1 in front. Qt takes keys a moment after the window has the focus,
# and nothing outside the program shows when: a short settle follows.
focus() { xdotool windowfocus --sync "$1"; sleep 0.3; }

# Answers the program's message box (its title is the program's name alone)
# with key $1 and waits until it has gone.
answer() {
  local b
  b=$(window '^Zelmora$' 15 "message box for $1")
  focus "$b"
  xdotool key "$1"
  gone "$b" || fail "the box stayed after $1"
}

# Waits until window $1 is no longer shown.
gone() { wait_for 10 sh -c "! xdotool search --onlyvisible --class zelmora | grep -qx $1"; }

# A window of the program's other than $1 (a box, a menu), once one shows;
# fails after $2 seconds (10).
other_window() { wait_for "${2:-10}" sh -c "xdotool search --onlyvisible --class zelmora | grep -vx $1 | head -n 1 | grep ."; }

# In window $1, a click at $2,$3 (pixels from its corner).
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# The main window $1's "Check for updates": the Menu button's popup, where
# the first Up takes the last item; it is fourth from the end.
menu_update() {
  click "$1" 58 402
  local m
  m=$(other_window "$1" 5) || fail "no menu"
  xdotool key Up Up Up Up Return
  gone "$m" || fail "the menu stayed"
}

# Closes main window $1 with Ctrl+X and waits for process $2 to end.
close_with_ctrl_x() {
  focus "$1"
  xdotool key ctrl+x
  wait_end "$2" || fail "Ctrl+X did not end the program"
}

# Main window $1 of process $2: nothing else of the program is shown, Ctrl+X
# closes it, and it ends with status 0 (else its error stream, file $3, shows).
close_quietly() {
  local b status=0
  if b=$(other_window "$1" 1); then fail "also shown: $(xdotool getwindowname "$b")"; fi
  close_with_ctrl_x "$1" "$2"
  wait "$2" || status=$?
  [ "$status" -eq 0 ] || { cat "$3"; fail "the program ended with status $status"; }
}

# Process $1, a second copy whose errors go to file $2, only says that the
# first exists: the message, its box (captured to $3 when given), and its end.
expect_refused() {
  wait_for 5 grep -q "Zelmora already exists." "$2" || fail "the second copy said nothing"
  local box
  box=$(window '^Zelmora$' 10 "message box")
  [ -z "${3:-}" ] || import -window root "$3"
  focus "$box"
  xdotool key Return
  wait_end "$1" || fail "the second copy did not end"
}

# In the main window $1: a log of 32 cm, then Ctrl+S and the name $2 in the
# name box (its title is entry 51 in Russian, the first run's language).
# Prints the base window's id once it shows.
save_calculation() {
  local box
  type_line "$1" 32
  xdotool key ctrl+s
  box=$(window 'Введите значение переменной' 10 "name box")
  focus "$box"
  xdotool type --delay 60 "$2"
  xdotool key Return
  window '^Список$' 10 "base window"
}

# In the main window $1, a line typed into the entry row: the keys $2...
# (typed texts, or keys where they start with a "+").
type_line() {
  focus "$1"
  shift
  local k
  for k in "$@"; do
    case $k in +*) xdotool key --delay 60 ${k#+} ;; *) xdotool type --delay 60 "$k" ;; esac
  done
  xdotool key Return
}
