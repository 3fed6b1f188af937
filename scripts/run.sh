#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMIRA_TESTS=OFF
cmake --build build/release -j "$(nproc)"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "velmira: no display. Start it on a virtual one with:" >&2
  echo "  xvfb-run -s '-screen 0 1024x768x24' build/release/bin/velmira" >&2
  exit 1
fi
exec build/release/bin/velmira
