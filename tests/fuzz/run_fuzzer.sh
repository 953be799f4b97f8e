#!/usr/bin/env bash
# Runs one fuzz target for a bounded time, starting from the seeds kept in the repository and
# growing a working corpus beside the binary, so the seeds themselves are never rewritten.
# Prints one line of figures; on a failure, libFuzzer's whole log and the input that broke it.
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=$3

name=$(basename "$fuzzer")
work=$(dirname "$fuzzer")/corpus/$name
log=$(dirname "$fuzzer")/$name.log
mkdir -p "$work"

if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$(dirname "$fuzzer")/$name-" "$work" "$seeds" >"$log" 2>&1; then
    cat "$log"
    exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
echo "$name: $runs runs in $seconds s ($rate per second), corpus of $(ls "$work" | wc -l) inputs, no failures" | tee -a "$log"
