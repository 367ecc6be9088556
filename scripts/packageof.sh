# Sourced by scripts/package.sh and tests/package/check.sh.
# package_of SONAME: the Debian package that holds that library on this
# system (amd64), or nothing when none does.
package_of() {
  local path
  path=$(ldconfig -p | awk -v n="$1" '$1 == n && /x86-64|x86_64/ { print $NF; exit }')
  [ -n "$path" ] || return 0
  # Under a merged /usr, dpkg knows a file by one of its two paths.
  { dpkg -S "$path" || dpkg -S "$(readlink -f "$path")"; } 2>/dev/null | head -n 1 | cut -d: -f1
}
