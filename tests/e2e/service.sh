#!/usr/bin/env bash
# The real program against the real maker's service, under Xvfb, in a network
# namespace of its own: nothing but the loopback is there, and a pair of
# virtual interfaces joined to each other with a default route into them, so
# that the program's connectivity test counts itself online while every
# address but the loopback leads nowhere. A fresh install obtains an ID; a message posted with `post`
# appears on the Messages tab, and the reply typed there, which carries the
# conversation, reaches `inbox`; a log sent from the Log tab reaches `logs`;
# a published update with one byte changed is refused and the program file
# stays as it was; the same update published intact is downloaded, verified
# and swapped in.
# Usage: service.sh <zelmora-service> <program 105> <program 106> <secret key> <port> <screenshot prefix>
# Exit status 77 (skipped) where no network namespace can be made.
set -euo pipefail
if [ -z "${ZEL_IN_NETNS:-}" ]; then
  # As root a namespace of its own; otherwise inside a user namespace too.
  for how in -n -rn; do
    if unshare $how true 2>/dev/null; then
      exec unshare $how env ZEL_IN_NETNS=1 bash "$0" "$@"
    fi
  done
  echo "SKIPPED: no network namespace can be made here (needs root or user namespaces)"
  exit 77
fi
if ! { ip link set lo up && ip link add zl0 type veth peer name zl1 && ip addr add 10.77.0.1/30 dev zl0 \
       && ip link set zl0 up && ip link set zl1 up && ip route add default via 10.77.0.2 dev zl0; } 2>/dev/null; then
  echo "SKIPPED: the test's network namespace cannot be given its interfaces"
  exit 77
fi

export SERVICE=$1 OLD=$2 NEW=$3 SECRET=$4 PORT=$5 SHOTS=$6
work=$(mktemp -d)
export WORK=$work
trap 'kill $(cat "$work/service.pid" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/tmp" "$work/run" "$work/files"
chmod 700 "$work/run"
cp "$OLD" "$work/app/zelmora"
cp "$NEW" "$work/zelmora-106"
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run"
unset QT_QPA_PLATFORM

"$SERVICE" serve --listen "127.0.0.1:$PORT" --files "$work/files" --db "$work/service.db" 2>"$work/service.err" &
echo $! >"$work/service.pid"
for _ in $(seq 1 50); do grep -q listening "$work/service.err" && break; sleep 0.1; done
grep -q listening "$work/service.err" || { cat "$work/service.err"; echo "FAIL: service did not start"; exit 1; }

xvfb-run -a -s "-screen 0 1024x768x24" bash -s <<'INNER'
set -euo pipefail
db=$WORK/service.db
fail() { echo "FAIL: $*"; import -window root "${SHOTS}_fail.png" 2>/dev/null || true; exit 1; }
admin() { "$SERVICE" "$@" --db "$db"; }
# Waits up to $1 seconds for the command that follows to succeed.
waitfor() { local t=$(( $1 * 10 )); shift; for _ in $(seq 1 $t); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
# A message box of the program (its title is the program's name alone).
box() { { timeout 15 xdotool search --sync --onlyvisible --name '^Zelmora$' || true; } | head -n 1; }
answer() { local b; b=$(box); [ -n "$b" ] || fail "no message box for $1"; xdotool windowfocus --sync "$b"; sleep 0.3; xdotool key "$1"; sleep 0.5; }
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 0.5; }
# The main menu's "Check for updates": the first Up takes the last item, it is fourth from the end.
menuUpdate() { click 58 402; sleep 0.3; xdotool key Up Up Up Up Return; }

"$WORK/app/zelmora" 2>"$WORK/program.err" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zelmora v\.' | head -n 1)
[ -n "$win" ] || fail "no main window"

# A fresh install obtains its ID at the first poll.
waitfor 20 sh -c "sqlite3 '$db' 'SELECT id FROM ids' | grep -q ." || fail "no ID issued"
id=$(sqlite3 "$db" 'SELECT id FROM ids')
echo "ID $id"

# The next poll (30 s later) fetches the message; the tab shows it.
admin post "$id" $'Hello from Halvane, dear user\nДругий рядок' >/dev/null
waitfor 45 sh -c "sqlite3 '$db' 'SELECT 1 FROM messages WHERE delivered IS NOT NULL' | grep -q 1" \
  || fail "message not fetched"
sleep 2
import -window root "${SHOTS}_message.png"
click 315 118
xdotool type --delay 40 "thanks 42"
xdotool key Return
# The reply carries the whole conversation: the message was on the tab.
waitfor 10 sh -c "'$SERVICE' inbox --db '$db' | grep -q 'thanks 42'" || fail "reply not in inbox"
inbox=$(admin inbox)
echo "$inbox"
grep -q "ID $id" <<<"$inbox" || fail "reply without the ID"
grep -q "  Hello from Halvane, dear user" <<<"$inbox" || fail "message not in the conversation"
grep -q "  Другий рядок" <<<"$inbox" || fail "second line not in the conversation"
grep -q "  Halvane: " <<<"$inbox" || fail "no Halvane line"

# A description that does not convert brings the Log tab forward; its
# button sends the log.
printf '[Zelmora]\r\nVersion=abc\r\n' >"$WORK/files/updates.ini"
menuUpdate
answer Escape            # "Send to Halvane ?" - not from here
click 94 331             # the Log tab's "Send log to Halvane"
answer Return            # the address
answer Return            # the service's answer
logs=$(admin logs)
grep -q "_Send_log_to_Halvane" <<<"$logs" || fail "log not in logs: $logs"
grep -q "_UpDate" <<<"$logs" || fail "log incomplete: $logs"
echo "log received: $(grep -c _ <<<"$logs") lines"

# An update with one byte changed after publishing: refused.
admin publish "$WORK/zelmora-106" --version 106 --key "$SECRET" --files "$WORK/files" \
  --base-url "http://127.0.0.1:$PORT/updates" >/dev/null
python3 - "$WORK/files/zelmora-106" <<'PY'
import sys
p = sys.argv[1]
with open(p, 'r+b') as f:
    f.seek(5000); b = f.read(1); f.seek(5000); f.write(bytes([b[0] ^ 0x01]))
PY
menuUpdate
answer Return            # "Download the update?"
waitfor 30 test -s "$WORK/app/zelmora.new" || fail "no download"
answer Return            # the update was refused
sleep 2
[ -z "$(xdotool search --onlyvisible --name '^Zelmora$' 2>/dev/null)" ] || fail "a tampered update went on"
cmp -s "$WORK/app/zelmora" "$OLD" || fail "the program file changed"
[ ! -e "$WORK/app/zelmora.old" ] || fail "the program was swapped"
echo "tampered update refused"

# Published intact (again as 106, which only --force allows): found,
# downloaded, verified and swapped in.
admin publish "$WORK/zelmora-106" --version 106 --force --key "$SECRET" --files "$WORK/files" \
  --base-url "http://127.0.0.1:$PORT/updates" >/dev/null
menuUpdate
answer Return            # "Download the update?"
[ -n "$(box)" ] || fail "no question after the download"
import -window root "${SHOTS}_updated.png"
answer Escape            # "Restart the program?" - no
cmp -s "$WORK/app/zelmora" "$NEW" || fail "the new build is not in place"
cmp -s "$WORK/app/zelmora.old" "$OLD" || fail "the old build is not kept as .old"
admin stats
kill -0 $pid || fail "the program ended"
echo ok
INNER
