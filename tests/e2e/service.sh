#!/usr/bin/env bash
# The real program against the real maker's service, under Xvfb, in a network
# namespace of its own: a fresh install obtains an ID; a message posted with
# `post` appears on the Messages tab, and the reply typed there, which carries
# the conversation, reaches `inbox`; a log sent from the Log tab reaches `logs`;
# a published update with one byte changed is refused and the program file
# stays as it was; the same update published intact is downloaded, verified
# and swapped in.
# Usage: service.sh <program 105> <zelmora-service> <program 106> <secret key> <port> <screenshot prefix>
own_network=1 source "$(dirname "$(readlink -f "$0")")/setup.sh" "$@"
OLD=$1 SERVICE=$2 NEW=$3 SECRET=$4 PORT=$5 SHOTS=$6
mkdir -p "$work/files"
cp "$NEW" "$work/zelmora-106"
db=$work/service.db
admin() { "$SERVICE" "$@" --db "$db"; }
shot() { import -window root "${SHOTS}_$1.png"; }
fail() { shot fail 2>/dev/null || true; echo "FAIL: $*" >&2; exit 1; }

"$SERVICE" serve --listen "127.0.0.1:$PORT" --files "$work/files" --db "$db" 2>"$work/service.err" &
pids+=($!)
wait_for 10 grep -q listening "$work/service.err" || { cat "$work/service.err"; fail "service did not start"; }
start_display
"$exe" 2>"$work/program.err" &
pid=$!
pids+=($pid)
win=$(main_window)

# A fresh install obtains its ID at the first poll.
wait_for 20 sh -c "sqlite3 '$db' 'SELECT id FROM ids' | grep -q ." || fail "no ID issued"
id=$(sqlite3 "$db" 'SELECT id FROM ids')
echo "ID $id"

# The next poll (30 s later) fetches the message; the tab shows it.
admin post "$id" $'Hello from Halvane, dear user\nДругий рядок' >/dev/null
wait_for 45 sh -c "sqlite3 '$db' 'SELECT 1 FROM messages WHERE delivered IS NOT NULL' | grep -q 1" \
  || fail "message not fetched"
# The tab shows it a moment later; nothing outside the program tells when.
sleep 2
shot message
click "$win" 315 118
xdotool type --delay 40 "thanks 42"
xdotool key Return
# The reply carries the whole conversation: the message was on the tab.
wait_for 10 sh -c "'$SERVICE' inbox --db '$db' | grep -q 'thanks 42'" || fail "reply not in inbox"
inbox=$(admin inbox)
echo "$inbox"
grep -q "ID $id" <<<"$inbox" || fail "reply without the ID"
grep -q "  Hello from Halvane, dear user" <<<"$inbox" || fail "message not in the conversation"
grep -q "  Другий рядок" <<<"$inbox" || fail "second line not in the conversation"
grep -q "  Halvane: " <<<"$inbox" || fail "no Halvane line"

# A description that does not convert brings the Log tab forward; its
# button sends the log.
printf '[Zelmora]\r\nVersion=abc\r\n' >"$work/files/updates.ini"
menu_update "$win"
answer Escape            # "Send to Halvane ?" - not from here
click "$win" 94 331      # the Log tab's "Send log to Halvane"
answer Return            # the address
answer Return            # the service's answer
logs=$(admin logs)
grep -q "_Send_log_to_Halvane" <<<"$logs" || fail "log not in logs: $logs"
grep -q "_UpDate" <<<"$logs" || fail "log incomplete: $logs"
echo "log received: $(grep -c _ <<<"$logs") lines"

# An update with one byte changed after publishing: refused.
admin publish "$work/zelmora-106" --version 106 --key "$SECRET" --files "$work/files" \
  --base-url "http://127.0.0.1:$PORT/updates" >/dev/null
python3 - "$work/files/zelmora-106" <<'PY'
import sys
p = sys.argv[1]
with open(p, 'r+b') as f:
    f.seek(5000); b = f.read(1); f.seek(5000); f.write(bytes([b[0] ^ 0x01]))
PY
menu_update "$win"
answer Return            # "Download the update?"
wait_for 30 test -s "$exe.new" || fail "no download"
answer Return            # the update was refused
# Nothing follows the refusal: seen only over time.
sleep 2
[ -z "$(xdotool search --onlyvisible --name '^Zelmora$' 2>/dev/null)" ] || fail "a tampered update went on"
cmp -s "$exe" "$OLD" || fail "the program file changed"
[ ! -e "$exe.old" ] || fail "the program was swapped"
echo "tampered update refused"

# Published intact (again as 106, which only --force allows): found,
# downloaded, verified and swapped in.
admin publish "$work/zelmora-106" --version 106 --force --key "$SECRET" --files "$work/files" \
  --base-url "http://127.0.0.1:$PORT/updates" >/dev/null
menu_update "$win"
answer Return            # "Download the update?"
window '^Zelmora$' 30 "question after the download" >/dev/null
shot updated
answer Escape            # "Restart the program?" - no
cmp -s "$exe" "$NEW" || fail "the new build is not in place"
cmp -s "$exe.old" "$OLD" || fail "the old build is not kept as .old"
admin stats
kill -0 $pid || fail "the program ended"
echo ok
