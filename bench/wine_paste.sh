#!/usr/bin/env bash
# The Windows window's answer after a paste of 1 MiB into each input box (bench/PasteBench.cpp),
# under Wine on a private Xvfb. It reports; it does not fail.
#
#   bench/wine_paste.sh [WIN64_BUILD_DIR [UNITS [BOX...]]]      (default build/win64)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
build=${1:-build/win64}
shift || true
cmake --build "$build" --target paste_bench >/dev/null || exit 1
tests/wine/run.sh --xvfb "$build/wine-prefix" "$build/bench/paste_bench.exe" "$@"
