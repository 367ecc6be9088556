#!/usr/bin/env bash
# The real program, built to talk to 127.0.0.1:<port>, under Xvfb in a network
# namespace of its own, against a service there that accepts every connection
# and never answers:
# - closed while an update check waits on that service, the process ends
#   within a second, having used little CPU, with the lists and settings
#   saved and no file swapped;
# - while the report of a failed start-up step is open (a stored list that
#   does not read), the settings store is not written, and the user's
#   settings are still there after the run.
# Usage: silent_service.sh <zelmora_localservice executable> <port>
own_network=1 source "$(dirname "$(readlink -f "$0")")/setup.sh" "$@"
python3 - "$2" "$work/requests" <<'PY' &
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
pids+=($!)
wait_for 5 test -f "$work/requests" || fail "the silent service did not start"
start_display

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
pids+=($runner)
win=$(main_window)
pid=$(cat "$work/pid")
pids+=($pid)
type_line "$win" 37
menu_update "$win"
wait_for 5 grep -q '^GET /ip.html ' "$work/requests" || fail "the update check made no request"
focus "$win"
xdotool key ctrl+x
start=$(date +%s%N)
wait_end "$pid" || fail "the program did not end"
took=$(( ($(date +%s%N) - start) / 1000000 ))
wait "$runner"
cpu=$(cat "$work/cpu")
echo "ended ${took} ms after the close, CPU ${cpu} s"
[ "$took" -lt 1000 ] || fail "the program took ${took} ms to end"
limit=${ZELMORA_CPU_LIMIT:-0.8}
awk -v c="$cpu" -v l="$limit" 'BEGIN { exit !(c < l) }' || fail "the program used ${cpu} s of CPU (at most ${limit})"
grep -q '^\.zm0=.*37 ' "$conf" || { cat "$conf"; fail "the list was not saved at the close"; }
[ ! -e "$exe.old" ] && [ ! -e "$exe.new" ] || fail "update files appeared"
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
: >"$work/requests"
"$exe" 2>"$work/second.err" &
pid=$!
pids+=($pid)
box=$(window '^Zelmora$' 20 "report of the list that does not read")
# Past the first poll and past the 3 s this build waits on a silent
# service: that the store is not written is seen only over time.
wait_for 10 grep -q . "$work/requests" || fail "no poll while the report was open"
sleep 3.5
cmp -s "$conf" "$work/stored.conf" || { cat "$conf"; fail "the store was written while the report was open"; }
focus "$box"
xdotool key Escape
win=$(main_window)
close_with_ctrl_x "$win" "$pid"
grep -q '^LANGUAGE=EN' "$conf" || { cat "$conf"; fail "the language was overwritten"; }
grep -q '^AutoUpdate=0' "$conf" || { cat "$conf"; fail "the automatic update was overwritten"; }
grep -q '^ID=77' "$conf" || { cat "$conf"; fail "the ID was overwritten"; }
echo "ok"
