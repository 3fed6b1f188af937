#!/usr/bin/env bash
# Builds and runs the tick benchmark of the windows (10,000 and 1,000 rows).
# Not part of CI: timings depend on the machine.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMIRA_BENCH=ON >/dev/null
cmake --build build/bench -j 2 --target velmira_ui_tick_bench
for rows in 1000 10000; do
  QT_QPA_PLATFORM=offscreen build/bench/bin/velmira_ui_tick_bench "$rows" 20
done
