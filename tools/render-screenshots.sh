#!/usr/bin/env bash
# Renders into docs/ at twice the usual scale, and into docs/1x/ at the usual one: the window
# empty and after 150 lb at 5 ft 10 in, the error box, and the window after a live switch to dark
# colours.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test --target render_window
# A screen as large as a desktop's: on the offscreen platform's own small one the message box
# breaks its line, which no desktop would make it do.
screen=$(mktemp)
trap 'rm -f "$screen"' EXIT
echo '{"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 3840, "height": 2160,
  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}' >"$screen"
QT_QPA_PLATFORM="offscreen:configfile=$screen" QT_SCALE_FACTOR=2 build/test/tools/render_window docs
QT_QPA_PLATFORM="offscreen:configfile=$screen" QT_SCALE_FACTOR=1 build/test/tools/render_window docs/1x
