#!/usr/bin/env bash
# tools/run against the built program: a start while Corvane holds its lock, or while another
# tools/run uses the same folder, is refused before the running one's fixture port and log are
# touched; a free start runs the fixture and Corvane and writes them anew.
# Usage: run_script_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
SRC="$1"
BUILD="$2"
WORK="$(mktemp -d "${TMPDIR:-/tmp}/corvane-run-test-XXXXXX")"
trap 'rm -rf "$WORK"' EXIT
export XDG_RUNTIME_DIR="$WORK/runtime"
export CORVANE_RUN_DIR="$WORK/run"
export CORVANE_BUILD_DIR="$BUILD"
export QT_QPA_PLATFORM=offscreen
export CORVANE_EXIT_AFTER_FIRST_PAINT=1
# In a sanitized build: what is tested here is the script, not leaks (Qt's offscreen platform
# leaves its screen objects at exit; the program's own tests check leaks).
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset CORVANE_CONFIG_DIR CORVANE_LOG_DIR CORVANE_FIXTURE_HOST CORVANE_FIXTURE_PORT
mkdir -p "$XDG_RUNTIME_DIR" "$CORVANE_RUN_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

failures=0
check() { # name, condition...
  local name="$1"
  shift
  if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}

# What a running instance left: its fixture's port and log.
echo 4711 > "$CORVANE_RUN_DIR/fixture-sim.port"
echo "the running one's log" > "$CORVANE_RUN_DIR/fixture-sim.log"
unchanged() {
  [ "$(cat "$CORVANE_RUN_DIR/fixture-sim.port")" = 4711 ] &&
    [ "$(cat "$CORVANE_RUN_DIR/fixture-sim.log")" = "the running one's log" ]
}

# 1. Corvane holds its single-instance lock.
exec 8>"$XDG_RUNTIME_DIR/Corvane.lock"
flock -n 8 || { echo "FAILED: cannot take the lock"; exit 1; }
out="$(timeout 60 "$SRC/tools/run" 2>&1)"
status=$?
check "refused while Corvane runs (exit $status)" test "$status" -eq 1
check "says why" grep -q "already running" <<<"$out"
check "the running one's port and log untouched" unchanged
exec 8>&-

# 2. Another tools/run holds this run folder.
exec 7>"$CORVANE_RUN_DIR/.tools-run.lock"
flock -n 7 || { echo "FAILED: cannot take the folder lock"; exit 1; }
out="$(timeout 60 "$SRC/tools/run" 2>&1)"
status=$?
check "refused while another tools/run uses the folder (exit $status)" test "$status" -eq 1
check "the other one's port and log untouched" unchanged
exec 7>&-

# 3. Nothing runs: the fixture starts on a new port, Corvane paints once and ends.
out="$(timeout 120 "$SRC/tools/run" 2>&1)"
status=$?
check "a free start runs (exit $status)" test "$status" -eq 0
check "Corvane painted" grep -q "first-paint-ms:" <<<"$out"
check "a new port file" bash -c '! grep -qx 4711 "$1" && grep -qE "^[0-9]+$" "$1"' _ "$CORVANE_RUN_DIR/fixture-sim.port"
check "a new fixture log" grep -q "listening on 127.0.0.1" "$CORVANE_RUN_DIR/fixture-sim.log"
check "the fixture's results are the demo line's" cmp -s <("$SRC/tools/demo-fixture-results") \
  "$CORVANE_RUN_DIR/fixture-results.json"
if [ "$failures" -ne 0 ]; then
  echo "$out"
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
