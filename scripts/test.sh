#!/usr/bin/env bash
# Sets everything up and runs every test: the normal build's, then the whole
# suite again built with the address and undefined-behaviour sanitizers (in
# build-asan/, kept between runs), then the Debian packages' checks and,
# as root, the packages installed, used and purged, then
# each fuzz target for a short while (ZELMORA_FUZZ_SECONDS, default 20 s each).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh
ctest --test-dir build --output-on-failure -j 2

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
if [ ! -f build-asan/build.ninja ]; then
  cmake -S . -B build-asan -G Ninja -DBUILD_TESTING=ON -DCMAKE_BUILD_TYPE=Debug \
        -DZELMORA_SANITIZE=address,undefined "${launcher[@]}" >/dev/null
fi
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j 2

# The Debian packages, built as scripts/package.sh builds them and checked
# as a system would take them.
bash scripts/package.sh
bash tests/package/check.sh dist build-package
# Installed, used and purged; it needs root (CI has it), elsewhere it is skipped.
status=0
bash tests/package/installed.sh dist || status=$?
case $status in
  0) ;;
  77) echo "tests/package/installed.sh: SKIPPED" ;;
  *) exit "$status" ;;
esac

bash scripts/fuzz.sh "${ZELMORA_FUZZ_SECONDS:-20}"
