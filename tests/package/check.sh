#!/usr/bin/env bash
# The two Debian packages in dist/ as a system would take them:
# - lintian finds no error in either;
# - the desktop entry, the AppStream data and the systemd unit validate;
# - every library the installed programs and the carried modules link, and
#   every library the program opens by name, belongs to a package the
#   program's package depends on (or to one it brings itself).
# Usage: check.sh <dist folder> <build folder of the packages>
set -euo pipefail
dist=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

program=$(ls "$dist"/zelmora_*.deb)
service=$(ls "$dist"/zelmora-service_*.deb)
for deb in "$program" "$service"; do
  report=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
  [ -n "$report" ] && echo "$report"
  ! grep -q '^E:' <<<"$report" || fail "lintian errors in $(basename "$deb")"
done

dpkg -x "$program" "$work/root"
dpkg -x "$service" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/zelmora.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/"*.metainfo.xml || fail "AppStream data"
unit=$(find "$work/root" -name zelmora-service.service)
sed "s|/usr/bin/zelmora-service|$work/root/usr/bin/zelmora-service|" "$unit" > "$work/zelmora-service.service"
warnings=$(systemd-analyze verify "$work/zelmora-service.service" 2>&1) || true
[ -z "$warnings" ] || fail "systemd-analyze: $warnings"

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/packageof.sh"
# Depends of a package, names only.
depends_of() {
  dpkg-deb -f "$1" Depends | tr ',' '\n' | sed 's/^ *//; s/[ (|].*//' | sort -u
}
check_needs() { # <deb> <what> <sonames...>
  local deb=$1 what=$2 soname pkg
  shift 2
  local wanted
  wanted=$(depends_of "$deb")
  for soname in "$@"; do
    pkg=$(package_of "$soname")
    [ -n "$pkg" ] || fail "$what needs $soname, which this system does not have"
    grep -qx "$pkg" <<<"$wanted" || fail "$what needs $soname ($pkg), not in the Depends of $(basename "$deb")"
  done
}
needed() { readelf -d "$1" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'; }

for exe in zelmora zelmora-calc; do
  check_needs "$program" "$exe" $(needed "$work/root/usr/bin/$exe")
done
for image in "$build"/carried/*.image; do
  check_needs "$program" "$(basename "$image")" $(needed "$image")
done
check_needs "$program" "what the program opens by name" $(cat "$build/runtime-libraries.txt")
check_needs "$service" zelmora-service $(needed "$work/root/usr/bin/zelmora-service")
echo "packages checked: $(basename "$program") $(basename "$service")"
