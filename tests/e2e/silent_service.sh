#!/usr/bin/env bash
# The real program, built to talk to 127.0.0.1:<port>, under Xvfb against a
# service there that accepts every connection and never answers:
# - closed while an update check waits on that service, the process ends
#   within a second, having used little CPU, with the lists and settings
#   saved and no file swapped;
# - while the report of a failed start-up step is open (a stored list that
#   does not read), the settings store is not written, and the user's
#   settings are still there after the run.
# Usage: silent_service.sh <zelmora_localservice executable> <port>
set -euo pipefail
# The program asks for a service only where the system reports a network.
if ! grep -qx up $(ls -d /sys/class/net/*/operstate | grep -v '/lo/') 2>/dev/null; then
  echo "needs a network interface that is up"
  exit 77
fi
exe=$1
port=$2
work=$(mktemp -d)
svc=""
cleanup() { [ -n "$svc" ] && kill "$svc" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Halvane" "$work/bin"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
export SESSION="$(dirname "$(readlink -f "$0")")/session.sh"
# A copy of its own: the update would put its files beside it.
cp "$exe" "$work/bin/zelmora"

python3 - "$port" "$work/requests" <<'PY' &
import socket, sys
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", int(sys.argv[1])))
s.listen(64)
held = []
with open(sys.argv[2], "a", buffering=1) as log:
    while True:
        c, _ = s.accept()
        held.append(c)
        log.write(c.recv(4096).split(b"\r\n", 1)[0].decode("latin-1") + "\n")
PY
svc=$!
for _ in $(seq 1 50); do
  [ -f "$work/requests" ] && break
  sleep 0.1
done

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$work" <<'INNER'
set -euo pipefail
work=$1
exe="$work/bin/zelmora"
conf="$XDG_CONFIG_HOME/Halvane/Zelmora.conf"
source "$SESSION"

# 1. Closing while the update check waits.
# Started through a parent that tells its CPU time once it has ended.
python3 - "$exe" "$work/pid" "$work/cpu" 2>"$work/first.err" <<'PY' &
import resource, subprocess, sys
p = subprocess.Popen([sys.argv[1]])
open(sys.argv[2], "w").write(str(p.pid))
p.wait()
r = resource.getrusage(resource.RUSAGE_CHILDREN)
open(sys.argv[3], "w").write("%.3f" % (r.ru_utime + r.ru_stime))
PY
runner=$!
win=$(main_window)
[ -n "$win" ] || fail "no main window"
pid=$(cat "$work/pid")
xdotool windowfocus --sync "$win"
sleep 0.5
xdotool type --delay 60 "37"
xdotool key Return
sleep 0.3
# The Menu button; the update check is the fourth item from the end.
xdotool mousemove --window "$win" 58 402 click 1
sleep 0.5
xdotool key Up Up Up Up Return
for _ in $(seq 1 50); do
  grep -q '^GET /ip.html ' "$work/requests" && break
  sleep 0.1
done
grep -q '^GET /ip.html ' "$work/requests" || fail "the update check made no request"
sleep 0.5
xdotool windowfocus --sync "$win"
xdotool key ctrl+x
start=$(date +%s%N)
for _ in $(seq 1 500); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.02
done
took=$(( ($(date +%s%N) - start) / 1000000 ))
timeout 10 tail --pid="$pid" -f /dev/null || fail "the program did not end"
wait "$runner"
cpu=$(cat "$work/cpu")
echo "ended ${took} ms after the close, CPU ${cpu} s"
[ "$took" -lt 1000 ] || fail "the program took ${took} ms to end"
limit=${ZELMORA_CPU_LIMIT:-0.8}
awk -v c="$cpu" -v l="$limit" 'BEGIN { exit !(c < l) }' || fail "the program used ${cpu} s of CPU (at most ${limit})"
grep -q '^\.zm0=.*37 ' "$conf" || { cat "$conf"; fail "the list was not saved at the close"; }
[ ! -e "$work/bin/zelmora.old" ] && [ ! -e "$work/bin/zelmora.new" ] || fail "update files appeared"
! grep -q '^GET /send.php' "$work/requests" || fail "the update check went on after the close"

# 2. A stored list that does not read; the user's settings must survive.
cat >"$conf" <<'CONF'
[General]
.zm0=x,4,1,0
.zm1=
AutoUpdate=0
ID=77
LANGUAGE=EN
CONF
cp "$conf" "$work/stored.conf"
"$exe" 2>"$work/second.err" &
pid=$!
box=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zelmora$' | head -n 1)
[ -n "$box" ] || fail "no report of the list that does not read"
# Past the first poll and past the 3 s this build waits on a silent service.
sleep 6
cmp -s "$conf" "$work/stored.conf" || { cat "$conf"; fail "the store was written while the report was open"; }
xdotool windowfocus --sync "$box"
xdotool key Escape
win=$(main_window)
[ -n "$win" ] || fail "no main window after the report"
close_with_ctrl_x "$win" "$pid"
grep -q '^LANGUAGE=EN' "$conf" || { cat "$conf"; fail "the language was overwritten"; }
grep -q '^AutoUpdate=0' "$conf" || { cat "$conf"; fail "the automatic update was overwritten"; }
grep -q '^ID=77' "$conf" || { cat "$conf"; fail "the ID was overwritten"; }
echo "ok"
INNER
