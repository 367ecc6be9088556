#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing) and
# builds everything into build/ (with --packages-only, only the first). Safe to run again: it does nothing slow when
# all is in place.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# clang-15 and libfuzzer-15-dev: the fuzz targets (scripts/fuzz.sh), which
# need clang's libFuzzer; g++ builds everything else.
PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libqt6sql6-sqlite qt6-qpa-plugins
  # The calculation base on an office's PostgreSQL server (and the service's
  # storage): Qt's driver, and a PostgreSQL 15 for their tests.
  libqt6sql6-psql postgresql-15
  # Qt's own texts (file dialogs, standard buttons) in Ukrainian and Russian.
  qt6-translations-l10n
  # The lot summary's chart; Qt Charts' CMake files need Qt OpenGL's.
  qt6-charts-dev libqt6charts6 libqt6opengl6-dev
  libxlsxwriter-dev
  libx11-dev libxss-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick
  python3 python3-openpyxl sqlite3
  # pdftotext: the lot summary's PDF test reads the PDF's text.
  poppler-utils
  fonts-dejavu-core
  # The maker's service: Ed25519 signatures (also checked by the program),
  # its HTTP front, iproute2 for the end-to-end test's own network namespace,
  # nginx and openssl for the test of the README's reverse-proxy setup.
  libsodium-dev libmicrohttpd-dev iproute2 nginx openssl
  # Its load script: the load generator, and curl for its first request.
  wrk curl
  # The test that the carried modules' debugging information is found.
  gdb
  # The Debian packages (scripts/package.sh) and their checks.
  dpkg-dev fakeroot lintian desktop-file-utils appstream systemd
  # Fuzzing: libFuzzer comes with clang.
  clang-15 libfuzzer-15-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# --packages-only: the packages above, no build.
if [ "${1:-}" = "--packages-only" ]; then exit 0; fi
cmake -S . -B build -G Ninja -DBUILD_TESTING=ON >/dev/null
cmake --build build
