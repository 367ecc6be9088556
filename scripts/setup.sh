#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing) and
# builds everything into build/. Safe to run again: it does nothing slow when
# all is in place.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# clang-15 and libfuzzer-15-dev: the fuzz targets (scripts/fuzz.sh), which
# need clang's libFuzzer; g++ builds everything else.
PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libqt6sql6-sqlite qt6-qpa-plugins
  libxlsxwriter-dev
  libx11-dev libxss-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick
  python3 python3-openpyxl sqlite3
  fonts-dejavu-core
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

cmake -S . -B build -G Ninja -DBUILD_TESTING=ON >/dev/null
cmake --build build
