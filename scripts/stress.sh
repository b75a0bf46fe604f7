#!/usr/bin/env bash
# The long reliability run: the fuzzers and the soak with many times the
# inputs of make test, each bounded in time, then the WAV fuzzing once more
# with Wine's heap checking on. Figures go to out/stress/summary.txt.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
out=out/stress
mkdir -p "$out"
export FUZZ_SCALE=${FUZZ_SCALE:-50} FUZZ_SECONDS=${FUZZ_SECONDS:-240}
run() {  # name, ctest pattern, extra environment
  local name=$1 pattern=$2; shift 2
  echo "== $name"
  env "$@" scripts/with_sound_server.sh ctest --test-dir out/build -R "$pattern" -V > "$out/$name.log" 2>&1
  local status=$?
  grep -E 'seed [0-9]+:|creates|took|tests passed|tests failed' "$out/$name.log"
  return $status
}
status=0
run fuzz-and-soak 'wav_fuzz|ini_fuzz|soak|sound_fault' || status=1
run heap-checked-wav-fuzz 'wav_fuzz' WINEDEBUG=warn+heap FUZZ_SCALE=5 || status=1
if grep -E 'err:heap|Unhandled exception' "$out"/*.log; then status=1; fi
{
  date -u +'run of %Y-%m-%d %H:%M UTC'
  grep -hE 'seed [0-9]+:|creates|took|tests passed|tests failed' "$out"/*.log
} > "$out/summary.txt"
echo "summary: $out/summary.txt"
exit $status
