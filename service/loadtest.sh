#!/usr/bin/env bash
# A bounded load test of zelmora-service on the loopback: starts the service
# on a free port with a fresh SQLite file, drives it with wrk for a fixed
# time with the program's own mix of requests (polls, replies, log uploads,
# statistics, ID requests, the update description), prints requests per
# second and latency percentiles, and stops the service again. Two runs: one
# paced at RATE requests per second (the goal: 1,000 with a 99th percentile
# under 20 ms), one as fast as the connections go (the ceiling).
# Usage: service/loadtest.sh [seconds=10] [connections=16] [service executable=build/zelmora-service]
# Environment: RATE (default 1000).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-10}
connections=${2:-16}
service=${3:-build/zelmora-service}
command -v wrk >/dev/null || { echo "wrk is not installed (apt-get install wrk)"; exit 1; }
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/files"
printf '[Zelmora]\r\nVersion=105\r\n' >"$work/files/updates.ini"

"$service" serve --listen 127.0.0.1:0 --files "$work/files" --db "$work/load.db" 2>"$work/err" &
pid=$!
for _ in $(seq 1 50); do grep -q listening "$work/err" && break; sleep 0.1; done
port=$(grep -o 'listening on 127.0.0.1:[0-9]*' "$work/err" | cut -d: -f2)
[ -n "$port" ] || { cat "$work/err"; exit 1; }
id=$(curl -s "http://127.0.0.1:$port/sp/zm.php?query=createID")
for i in $(seq 1 200); do "$service" post "$id" "message $i" --db "$work/load.db" >/dev/null; done

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
  delay = function() return pause end
end
request = function()
  n = n + 1
  return wrk.format("GET", paths[(n % #paths) + 1])
end
LUA
rate=${RATE:-1000}
run() {
  wrk -t2 -c"$connections" -d"${seconds}s" --latency -s "$work/mix.lua" "http://127.0.0.1:$port" \
    | sed -n '/Latency Distribution/,/Requests\/sec/p'
}
echo "zelmora-service on 127.0.0.1:$port, SQLite, $connections connections, ${seconds}s each"
echo "== paced at about $rate requests/s"
# The pause before each request of a connection, a little short of the
# exact share so that the answering time is made up for.
PAUSE_MS=$(( connections * 1000 / rate - 1 )) run
echo "== as fast as it goes"
PAUSE_MS=0 run
"$service" stats --db "$work/load.db"
