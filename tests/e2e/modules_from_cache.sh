#!/usr/bin/env bash
# The real program, built to talk to 127.0.0.1:<port>, under Xvfb in a network
# namespace of its own, on a system that refuses to run code from anonymous
# memory (a preloaded library makes memfd_create fail with EPERM): its three
# carried modules are written to the cache folder (0700, each file 0400) and
# opened from there, and each works: a list exported as a workbook, the lot
# summary with its chart, and the real service on 127.0.0.1, which issues the
# program an ID.
# Usage: modules_from_cache.sh <zelmora_localservice> <zelmora-service> <nomemfd library> <port> <screenshot prefix>
own_network=1 source "$(dirname "$(readlink -f "$0")")/setup.sh" "$@"
service=$2 shots=$5
mkdir "$work/files"
"$service" serve --listen "127.0.0.1:$4" --files "$work/files" --db "$work/service.db" 2>"$work/service.err" &
pids+=($!)
wait_for 10 grep -q listening "$work/service.err" || { cat "$work/service.err"; fail "the service did not start"; }
start_display 1280x1024 # room for the whole lot summary

LD_PRELOAD=$3 ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" "$exe" 2>"$work/err" &
pid=$!
pids+=($pid)
win=$(main_window)
type_line "$win" 32

# The workbook: Ctrl+E, its name typed into the dialog (in Russian, the
# first run's language).
xdotool key ctrl+e
dialog=$(window '^Экспорт списка' 10 "export dialog")
focus "$dialog"
xdotool key ctrl+a
xdotool type --delay 20 "$work/list.xlsx"
xdotool key Return
wait_for 10 test -s "$work/list.xlsx" || fail "no workbook written"
[ "$(head -c 2 "$work/list.xlsx")" = PK ] || fail "the workbook is not a zip file"

# The lot summary: its window, with the chart's bar of the one log's class
# (logs of 26 cm and more) in its colour, far larger than its legend's mark.
focus "$win"
xdotool key ctrl+l
summary=$(window '^Итог партии' 10 "lot summary")
bars() {
  import -window "$summary" "${shots}_summary.png"
  local px
  px=$(convert "${shots}_summary.png" -fill black +opaque '#5E3A1A' -fill white -opaque '#5E3A1A' \
       -format '%[fx:round(mean*w*h)]' info:)
  [ "$px" -gt 10000 ]
}
wait_for 10 bars || fail "no chart in the lot summary"

# The service: an ID issued at the first poll.
wait_for 30 sh -c "'$service' stats --db '$work/service.db' | grep -qx 'IDs issued: 1'" || fail "no ID issued"

[ -z "$(xdotool search --onlyvisible --name '^Zelmora$' || true)" ] || fail "the program told of trouble"
modules=$XDG_CACHE_HOME/zelmora/modules
ls -l "$modules"
[ "$(stat -c %a "$modules")" = 700 ] || fail "the modules' folder is not 0700"
for name in net workbook charts; do
  file=$(ls "$modules"/zelmora-$name-*.so) || fail "zelmora-$name is not in the cache"
  [ "$(stat -c %a "$file")" = 400 ] || fail "$file is not 0400"
done
close_with_ctrl_x "$win" "$pid"
echo ok
