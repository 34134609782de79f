#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 600).
#
#   scripts/fuzz.sh [SECONDS] [NAME...]     NAME: cp932, contents, conversion, rtf
#
# The corpus each fuzzer grows is kept in the build folder's corpus/NAME and
# used again by the next run; seeds are made afresh from tests/data and the
# sample. A crash, a sanitizer report, a broken invariant or an input that
# runs longer than 30 s ends that fuzzer, leaves the input in artifacts/NAME
# and makes the script fail. Replay one with: build-fuzz/tests/fuzz/zavio_fuzz_NAME FILE
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZAVIO_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-600}
shift || true
names=("$@")
[ ${#names[@]} -eq 0 ] && names=(cp932 contents conversion rtf)

bash "$root/scripts/setup.sh" --fuzz
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZAVIO_FUZZ=ON -DZAVIO_BUILD_TESTS=OFF -DZAVIO_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j2 --target zavio_fuzzers

rm -rf "$build/seeds"
bash "$root/tests/fuzz/make-seeds.sh" "$build/seeds"

# The conversion fuzzer's sandboxes: in memory where there is a tmpfs (six
# times the runs of a disk), and gone when the script ends.
tmp_base=$build
[ -d /dev/shm ] && [ -w /dev/shm ] && tmp_base=/dev/shm
TMPDIR=$(mktemp -d "$tmp_base/zavio-fuzz.XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

declare -A max_len=([cp932]=4096 [contents]=8192 [conversion]=16384 [rtf]=32768)
failed=0
for name in "${names[@]}"; do
  [ -n "${max_len[$name]:-}" ] || { echo "fuzz: no fuzzer named $name" >&2; exit 2; }
  corpus=$build/corpus/$name
  artifacts=$build/artifacts/$name
  log=$build/logs/$name.log
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  dict=()
  [ -f "$root/tests/fuzz/$name.dict" ] && dict=(-dict="$root/tests/fuzz/$name.dict")
  echo "fuzz: $name for $seconds s"
  status=0
  nice "$build/tests/fuzz/zavio_fuzz_$name" -max_total_time="$seconds" -max_len="${max_len[$name]}" \
    -timeout=30 -print_final_stats=1 "${dict[@]}" -artifact_prefix="$artifacts/" \
    "$corpus" "$build/seeds/$name" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "fuzz: $name FAILED (exit $status) after ${runs:-?} runs; log $log, input in $artifacts:" >&2
    grep -E -m 20 "conversion fuzzer:|cp932 fuzzer:|contents fuzzer:|rtf fuzzer:|ERROR:|SUMMARY:|runtime error" "$log" >&2 || true
  else
    echo "fuzz: $name: $runs runs in $seconds s, corpus $(ls "$corpus" | wc -l) inputs, no failure"
  fi
done
exit $failed
