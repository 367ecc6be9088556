# Helpers of the end-to-end tests, sourced inside their Xvfb session.

fail() { echo "FAIL: $*"; exit 1; }

# The program's main window, once it shows.
main_window() {
  timeout 20 xdotool search --sync --onlyvisible --name '^Zelmora v\.' | head -n 1
}

# Closes main window $1 with Ctrl+X and waits for process $2 to end.
close_with_ctrl_x() {
  sleep 0.5
  xdotool windowfocus --sync "$1"
  xdotool key ctrl+x
  timeout 10 tail --pid="$2" -f /dev/null || fail "Ctrl+X did not end the program"
}

# Process $1, a second copy whose errors go to file $2, only says that the
# first exists: the message, its box (captured to $3 when given), and its end.
expect_refused() {
  for _ in $(seq 1 50); do
    grep -q "Zelmora already exists." "$2" && break
    sleep 0.1
  done
  grep -q "Zelmora already exists." "$2" || fail "the second copy said nothing"
  local box
  box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zelmora$' | head -n 1)
  [ -n "$box" ] || fail "no message box"
  [ -z "${3:-}" ] || import -window root "$3"
  xdotool windowfocus --sync "$box"
  xdotool key Return
  timeout 10 tail --pid="$1" -f /dev/null || fail "the second copy did not end"
}
