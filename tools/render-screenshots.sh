#!/usr/bin/env bash
# Renders the window, empty and after 150 lb at 5 ft 10 in, into docs/ at twice the usual scale.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test --target render_window
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 build/test/tests/ui/qt/render_window docs
