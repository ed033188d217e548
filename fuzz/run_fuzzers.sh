#!/usr/bin/env bash
# Builds the fuzzers (the `fuzz` preset, clang++ with libFuzzer) and runs each
# one for a bounded time from its seed corpus in fuzz/corpus/<fuzzer>/.
# Inputs that find new paths are kept in a scratch folder, or, with --keep,
# added to the seed corpus. A crash, a leak, a timeout or an out-of-memory
# ends the run with a failure and leaves the input that caused it in the
# current folder.
#
# usage: fuzz/run_fuzzers.sh [seconds-per-fuzzer] [--keep]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
keep=${2:-}
cmake --preset fuzz > /dev/null
cmake --build --preset fuzz -j2

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for corpus in fuzz/corpus/*/; do
  fuzzer=$(basename "$corpus")
  new="$scratch/$fuzzer"
  mkdir -p "$new"
  [[ "$keep" == --keep ]] && new="$corpus"
  echo "== $fuzzer, $seconds s"
  "build/fuzz/fuzz/$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
    "$new" "$corpus" 2>&1 | grep -E '^(#[0-9]+ +DONE|Done|stat::number_of_executed_units|stat::peak_rss_mb)|ERROR|SUMMARY' || true
  test "${PIPESTATUS[0]}" -eq 0 || { echo "$fuzzer failed" >&2; exit 1; }
done
echo "every fuzzer ran $seconds s without a finding"
