#!/usr/bin/env bash
# Start-up of the Windows program under Wine against a bare Win32 window of the same size and
# title (bench/BareWin32Window.cpp), on a private Xvfb, with the prefix's wineserver kept running.
# Each start is timed by the X server's events, as bench/startup.py times the Linux program: from
# exec of wine to the window's MapNotify and to its first DAMAGE report (bench/MapProbe.cpp). The
# programs take turns, after two unmeasured starts each. It reports; it does not fail.
#
#   bench/wine_startup.sh [WIN64_BUILD_DIR [RUNS]]      (default build/win64, 30 runs)
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win64}
runs=${2:-30}
. tests/wine/prefix.sh
need_wine
need Xvfb xvfb

# The probe is a Linux program: built on its own, as bench/startup.py builds it.
probe_build=build/startbench
tools/install-packages.sh cmake ninja-build g++ qt6-base-dev pkg-config libwayland-dev libxcb1-dev libxcb-damage0-dev || exit 1
cmake -S . -B "$probe_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null &&
    cmake --build "$probe_build" --target map_probe >/dev/null || exit 1
probe=$probe_build/bench/map_probe

wine_prefix "$build/wine-prefix" || exit 1
work=$(mktemp -d)
xvfb_pid=
trap 'end_wine; [ -z "$xvfb_pid" ] || end_groups "$xvfb_pid"; rm -rf "$work"' EXIT
wine_xvfb "$work" || exit 1
wineserver -p60 >/dev/null 2>&1 </dev/null 9>&- || true

# Appends "map paint" in milliseconds to FILE. The probe ends wine; the wineserver stays.
start_once() {
    "$probe" --settle-ms 0 -- wine "$1" 2>>"$work/probe.log" 9>&- </dev/null |
        awk -F= '/^map_ms=/ {m = $2} /^paint_ms=/ {p = $2} END {if (m != "") print m, p}' >>"$2"
}

programs=("$build/app/Quorvane.exe" "$build/bench/bare_window.exe")
for program in "${programs[@]}"; do
    for _ in 1 2; do start_once "$program" /dev/null; done
done
for _ in $(seq "$runs"); do
    for i in "${!programs[@]}"; do start_once "${programs[$i]}" "$work/times$i"; done
done

# median, least and most of column COLUMN of FILE
stats() {
    cut -d' ' -f"$2" "$1" | sort -n | awk '{a[NR] = $1}
        END {printf "%.0f %.0f %.0f", (NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2), a[1], a[NR]}'
}
shown() { stats "$@" | awk '{printf "%s ms (%s to %s)", $1, $2, $3}'; }
printf '%-34s %-24s %-24s %s\n' program "map, median (least to most)" "first paint" starts
for i in "${!programs[@]}"; do
    printf '%-34s %-24s %-24s %s\n' "${programs[$i]}" "$(shown "$work/times$i" 1)" "$(shown "$work/times$i" 2)" \
        "$(wc -l <"$work/times$i")"
done
[ ! -s "$work/probe.log" ] || { echo "probe messages:"; sort "$work/probe.log" | uniq -c; }
awk -v q="$(stats "$work/times0" 2 | cut -d' ' -f1)" -v b="$(stats "$work/times1" 2 | cut -d' ' -f1)" \
    'BEGIN {if (b > 0) printf "first paint, ratio of the medians: %.2fx\n", q / b}'
