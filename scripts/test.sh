#!/usr/bin/env bash
# Installs what is missing, builds with -Werror and runs every test, then builds
# again with AddressSanitizer + UndefinedBehaviorSanitizer and runs them once more.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The sources follow the root .clang-format; a file that does not fails here, with its lines.
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
jobs=$(nproc)
run() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DVELMIRA_WERROR=ON "$@"
  cmake --build "$dir" -j "$jobs"
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
}
run build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run build/asan -DCMAKE_BUILD_TYPE=Debug -DVELMIRA_SANITIZE=ON
