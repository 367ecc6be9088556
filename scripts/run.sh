#!/usr/bin/env bash
# Sets everything up and starts Zelmora.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh
exec ./build/zelmora
