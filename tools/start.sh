#!/usr/bin/env bash
# Builds Quorvane and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    echo "tools/start.sh: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are unset); on a machine without one: apt-get install -y xvfb && xvfb-run tools/start.sh" >&2
    exit 1
fi

packages=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins pkg-config libwayland-dev)
# Qt's Wayland plugin is a package of its own; without it a Wayland-only session has no window.
[ -z "${WAYLAND_DISPLAY:-}" ] || packages+=(qt6-wayland)
tools/install-packages.sh "${packages[@]}"

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF -DQUORVANE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/release
exec build/release/app/quorvane
