#!/usr/bin/env bash
# Soak of the simulated line: bench/soak/run.sh [BUILD] [CAMERAS] [ROUNDS]
# Builds bench_soak_line and runs it offscreen at time scale 0.01; it prints its figures and exits
# non-zero when a result is missing, a run hangs, or memory or threads do not come back.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
cmake --build "$BUILD" -j6 --target bench_soak_line >/dev/null
cd "$BUILD/bin"
CORVANE_FIXTURE_HOST=127.0.0.1 QT_QPA_PLATFORM=offscreen CORVANE_TIME_SCALE=0.01 TREMIX_TIME_SCALE=0.1 \
  CORVANE_BIN_DIR="$BUILD/bin" PATH="$BUILD/bin/simping:$PATH" \
  timeout $((600 + 300 * ${3:-2})) ./bench_soak_line "${2:-256}" "${3:-2}"
