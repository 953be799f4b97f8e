#!/usr/bin/env bash
# Builds Quorvane and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-packages.sh cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF -DQUORVANE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/release

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Quorvane needs a display to show its window; none is set (try: xvfb-run tools/start.sh)." >&2
    exit 1
fi
exec build/release/app/quorvane
