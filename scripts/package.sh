#!/usr/bin/env bash
# Builds the two Debian packages, zelmora and zelmora-service, into dist/:
# a build of their own (build-package/, installed under /usr), then CPack.
# The program's Depends are what dpkg-shlibdeps finds for the programs and
# for the modules the program carries inside its file, and the packages of
# the libraries it opens by name (runtime-libraries.txt of the build).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/packageof.sh
bash scripts/setup.sh --packages-only
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DZELMORA_SELF_UPDATE=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr "${launcher[@]}" >/dev/null
cmake --build build-package

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# dpkg-shlibdeps over the two programs and the carried modules, as the
# program opens them, in one run so that each package is named once.
mkdir -p "$work/debian"
printf 'Source: zelmora\n\nPackage: zelmora\nArchitecture: any\n' > "$work/debian/control"
modules=("-e$PWD/build-package/zelmora" "-e$PWD/build-package/zelmora-calc")
for image in build-package/carried/*.image; do
  cp "$image" "$work/$(basename "$image" .image).so"
  modules+=("-e$work/$(basename "$image" .image).so")
done
# (It warns that the files are not in a package's folder: they are not yet.)
shlibs=$(cd "$work" && dpkg-shlibdeps -O "${modules[@]}" 2> >(grep -v "should already be installed" >&2))
carried=$(sed -n 's/^shlibs:Depends=//p' <<<"$shlibs")
[ -n "$carried" ] || { echo "package.sh: dpkg-shlibdeps found no libraries" >&2; exit 1; }
# The libraries opened by their SONAMEs: the packages that hold them here.
carried_names=$(tr ',' '\n' <<<"$carried" | sed 's/^ *//; s/ .*//')
opened=()
for soname in $(cat build-package/runtime-libraries.txt); do
  pkg=$(package_of "$soname") || true
  if [ -n "$pkg" ] && ! grep -qxF "$pkg" <<<"$carried_names"; then opened+=("$pkg"); fi
done
# Qt's platform plugins and SQL drivers (SQLite for the base file, PostgreSQL
# for an office's shared base) are loaded as plugins, which no library list
# shows.
extra="qt6-qpa-plugins, libqt6sql6-sqlite, libqt6sql6-psql"
depends=$carried
for pkg in $(printf '%s\n' "${opened[@]}" | sort -u); do depends+=", $pkg"; done
depends+=", $extra"
echo "zelmora Depends: $depends"

rm -rf dist
(cd build-package && cpack -G DEB \
   -D "CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS=$depends" \
   -D "CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS=qt6-translations-l10n, fonts-dejavu-core" \
   -D "CPACK_DEBIAN_SERVICE_PACKAGE_DEPENDS=adduser, libqt6sql6-sqlite" \
   -D "CPACK_DEBIAN_SERVICE_PACKAGE_SUGGESTS=libqt6sql6-psql, postgresql, nginx")
ls -l dist/*.deb
