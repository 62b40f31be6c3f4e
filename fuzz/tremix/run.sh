#!/usr/bin/env bash
# Builds the Tremix frame/JSON fuzzer with clang (libFuzzer, ASan, UBSan) into build-fuzz/ and
# runs it for a fixed number of executions in all (default 10 million), spread over parallel jobs
# (default 4): fuzz/tremix/run.sh [runs] [jobs]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
RUNS="${1:-10000000}"
JOBS="${2:-4}"
OUT="$ROOT/build-fuzz/tremix"
rm -rf "$OUT/corpus"
mkdir -p "$OUT/corpus"
CXX="${CXX_FUZZ:-clang++}"
"$CXX" -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$ROOT/tremix/include" -I"$ROOT/tremix/src" $(pkg-config --cflags jsoncpp) \
  "$ROOT/fuzz/tremix/FrameFuzzer.cpp" "$ROOT/tremix/src/FixtureProtocol.cpp" \
  $(pkg-config --libs jsoncpp) -o "$OUT/tremix_frame_fuzzer"

# Seeds: a reply, a push, a device list, garbage before a frame, a frame split in a tiny receive.
python3 - "$OUT/corpus" <<'PY'
import struct, sys, os
d = sys.argv[1]
def frame(t, p):
    b = p.encode()
    return bytes([0xF0, 1, t, 1]) + struct.pack('<H', len(b)) + b'\0\0' + b
result = ('{"cmd":"test_result","mac":"AA:BB:CC:DD:EE:FF","uuid":"U","port":3,"uart":"OK","audio":"OK",'
          '"gpio":[{"name":"G1","function":"LED","status":"OK"},{"name":"G2","status":""}],'
          '"network":[{"name":"eth0","status":"OK"}]}')
seeds = {
    'reply': b'\x00' + frame(1, result),
    'push': b'\x01' + frame(2, result) + frame(1, '{"cmd":"heart_beat"}'),
    'devlist': b'\x02' + frame(1, '{"cmd":"device_list","version":"1","uuid":"u","mode":"m","port_num":8}'),
    'garbage': b'\x03' + b'xx\xf1\x00' + frame(1, '{"cmd":5,"mac":[1],"gpio":{"a":1}}'),
    'json': b'\x00' + result.encode(),
}
for name, data in seeds.items():
    with open(os.path.join(d, name), 'wb') as f:
        f.write(data)
PY

cd "$OUT"
rm -f fuzz-*.log crash-* leak-* timeout-* oom-*
PER_JOB=$(( (RUNS + JOBS - 1) / JOBS ))
set +e
ASAN_OPTIONS=detect_leaks=1 "$OUT/tremix_frame_fuzzer" -runs="$PER_JOB" -max_len=1024 -print_final_stats=1 \
  -jobs="$JOBS" -workers="$JOBS" corpus >"$OUT/fuzz.log" 2>&1
rc=$?
set -e
total=$(cat fuzz-*.log | sed -n 's/^stat::number_of_executed_units: *//p' | awk '{s+=$1} END {print s+0}')
findings=$(find . -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
reports=$(cat fuzz-*.log | grep -c -E 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error' || true)
echo "executions: $total in $JOBS jobs; findings: $findings; sanitizer reports: $reports"
if [ $rc -ne 0 ] || [ "$findings" -ne 0 ] || [ "$reports" -ne 0 ]; then
  echo "fuzzer found a problem (exit $rc), see $OUT/fuzz-*.log and the crash files in $OUT"
  exit 1
fi
echo "no crash, no sanitizer report"
