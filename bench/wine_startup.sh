#!/usr/bin/env bash
# Start-up of the Windows program under Wine against a bare Win32 window of the same size and
# title (bench/BareWin32Window.cpp), on a private Xvfb, with the prefix's wineserver kept running.
# Each start is timed from launching wine to the first poll (every 10 ms, xdotool) that finds a
# viewable window titled "Calculate BMI"; the programs take turns, after one unmeasured start each.
#
#   bench/wine_startup.sh [BUILD_DIR [RUNS]]      (default build/win64, 20 runs)
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win64}
runs=${2:-20}
. tests/wine/prefix.sh
need_wine
need Xvfb xvfb
need xdotool xdotool
wine_prefix "$build/wine-prefix" || exit 1
work=$(mktemp -d)
xvfb_pid=
trap 'end_wine; [ -z "$xvfb_pid" ] || end_groups "$xvfb_pid"; rm -rf "$work"' EXIT
wine_xvfb "$work" || exit 1

# Milliseconds from launch to the window, then ends the program.
start_once() {
    local begin end window=
    begin=$(date +%s%N)
    wine "$1" >/dev/null 2>&1 </dev/null 9>&- &
    local pid=$!
    until window=$(xdotool search --onlyvisible --name '^Calculate BMI$' 2>/dev/null | head -n1) && [ -n "$window" ]; do
        sleep 0.01
    done
    end=$(date +%s%N)
    xdotool windowfocus "$window" key alt+F4 2>/dev/null
    wait "$pid"
    echo $(((end - begin) / 1000000))
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2)}'; }

programs=("$build/app/Quorvane.exe" "$build/bench/bare_window.exe")
for program in "${programs[@]}"; do start_once "$program" >/dev/null; done
for _ in $(seq "$runs"); do
    for i in "${!programs[@]}"; do start_once "${programs[$i]}" >>"$work/times$i"; done
done
for i in "${!programs[@]}"; do
    echo "${programs[$i]}: median $(median <"$work/times$i") ms, least $(sort -n "$work/times$i" | head -n1) ms, most $(sort -n "$work/times$i" | tail -n1) ms ($runs starts)"
done
