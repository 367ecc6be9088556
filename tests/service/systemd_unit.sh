#!/usr/bin/env bash
# The service's systemd unit as systemd reads it, offline: no warning from
# `systemd-analyze verify`, and an exposure under 3.0 of 10 from
# `systemd-analyze security` (the unit without its sandbox scored 6.2).
# Usage: systemd_unit.sh <unit file> <zelmora-service executable>
set -euo pipefail
if ! command -v systemd-analyze >/dev/null; then
  echo "systemd-analyze is not installed (package systemd)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# verify checks that ExecStart names an executable: the one just built.
sed "s|/usr/local/bin/zelmora-service|$2|" "$1" > "$work/zelmora-service.service"
warnings=$(systemd-analyze verify "$work/zelmora-service.service" 2>&1)
if [ -n "$warnings" ]; then
  echo "$warnings"
  exit 1
fi
systemd-analyze security --offline=true --threshold=30 "$work/zelmora-service.service" | tail -1
