#!/usr/bin/env bash
# A bounded load test of zelmora-service on the loopback: starts the service
# on a free port with a fresh SQLite file (its access log going to a file,
# as it would to journald), then, each run bounded in time:
#  1. the program's own mix of requests (polls, replies, log uploads,
#     statistics, ID requests, the update description) paced at RATE
#     requests/s over CONNECTIONS kept-open connections (wrk); the goal for
#     100,000 installed programs: 3,400/s over 2,000, 99th percentile < 50 ms;
#  2. 1,000 clients arriving together, each asking once (goal: all answered,
#     99th percentile < 500 ms);
#  3. 500 trickling connections held open while a probe asks every 100 ms
#     (goal: < 100 ms);
#  4. the same mix as fast as 64 connections go (the ceiling);
# and prints the service's largest resident memory over all (goal < 100 MB).
# Usage: service/loadtest.sh [seconds=20] [connections=2000] [service executable=build/zelmora-service]
# Environment: RATE (default 3400). Needs wrk (apt-get install wrk) and python3.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-20}
connections=${2:-2000}
service=${3:-build/zelmora-service}
rate=${RATE:-3400}
command -v wrk >/dev/null || { echo "wrk is not installed (apt-get install wrk)"; exit 1; }
ulimit -n "$(ulimit -Hn)"
work=$(mktemp -d)
pid=""
sampler=""
trap '[ -n "$sampler" ] && kill "$sampler" 2>/dev/null; [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/files"
printf '[Zelmora]\r\nVersion=105\r\n' >"$work/files/updates.ini"

# wrk opens every connection from 127.0.0.1: no per-address cap or
# allowance here.
"$service" serve --listen 127.0.0.1:0 --files "$work/files" --db "$work/load.db" \
  --connections-per-address 0 --logs-per-hour 0 --replies-per-hour 0 --ids-per-hour 0 >"$work/access.log" 2>"$work/err" &
pid=$!
for _ in $(seq 1 50); do grep -q listening "$work/err" && break; sleep 0.1; done
port=$(grep -o 'listening on 127.0.0.1:[0-9]*' "$work/err" | cut -d: -f2)
[ -n "$port" ] || { cat "$work/err"; exit 1; }
id=$(curl -s "http://127.0.0.1:$port/sp/zm.php?query=createID")
for i in $(seq 1 200); do "$service" post "$id" "message $i" --db "$work/load.db" >/dev/null; done

# The largest resident set, sampled every 100 ms while the runs go on.
( peak=0; while kill -0 "$pid" 2>/dev/null; do
    kb=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    (( kb > peak )) && { peak=$kb; echo "$peak" >"$work/rss"; }
    sleep 0.1
  done ) &
sampler=$!

cat >"$work/mix.lua" <<LUA
local paths = {
  "/sp/zm.php?query=getmessage&ID=$id",
  "/sp/zm.php?query=getmessage&ID=$id",
  "/ip.html",
  "/send.php?file=check.log",
  "/sp/zm.php?query=sendmessage&ID=$id&theme=(no%20theme)&email=@&message=Halvane:,%CF%F0%E8%E2%B3%F2,User:,thanks",
  "/sp/sendlog.php?text=10:00:00_Create_form,10:00:01_IsConnectedToInternet,10:00:02_Send_log_to_Halvane",
  "/updates/updates.ini",
  "/sp/zm.php?query=createID",
}
local n = 0
local pause = tonumber(os.getenv("PAUSE_MS") or "0")
if pause > 0 then
  -- Uniform around the mean pause, so that the connections do not ask in
  -- step as they would after one fixed pause.
  delay = function() return math.random(0, 2 * pause) end
end
request = function()
  n = n + 1
  return wrk.format("GET", paths[(n % #paths) + 1])
end
LUA
run() {
  wrk -t2 -c"$1" -d"${seconds}s" --timeout 10s --latency -s "$work/mix.lua" "http://127.0.0.1:$port" \
    | sed -n '/Latency Distribution/,/Requests\/sec/p'
}
echo "zelmora-service on 127.0.0.1:$port, SQLite, ${seconds}s a run"
echo "== the mix paced at about $rate requests/s over $connections kept-open connections"
# The mean pause before each request of a connection, a little short of
# the exact share so that the answering time and wrk's own are made up for.
PAUSE_MS=$(( connections * 1000 / rate * 98 / 100 )) run "$connections"
echo "== 1,000 clients arriving together"
python3 service/loadclients.py "$port" burst 1000
echo "== 500 trickling connections, a probe every 100 ms"
python3 service/loadclients.py "$port" trickle 500 15
echo "== the mix as fast as 64 connections go"
PAUSE_MS=0 run 64
echo "== largest resident memory: $(( $(cat "$work/rss") / 1024 )) MB"
echo "== access log: $(wc -l <"$work/access.log") lines"
"$service" stats --db "$work/load.db"
