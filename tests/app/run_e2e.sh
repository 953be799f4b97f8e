#!/usr/bin/env bash
# Runs e2e_accessibility.py against the program on a private X server and D-Bus session bus.
# Exits 77 (skipped) when a tool it needs is not installed.
# Usage: run_e2e.sh PROGRAM
set -uo pipefail

program=${1:?usage: run_e2e.sh PROGRAM}
here=$(cd "$(dirname "$0")" && pwd)

skip() {
    echo "SKIP: $1 not installed" >&2
    exit 77
}
command -v Xvfb >/dev/null || skip "Xvfb (xvfb)"
command -v xdotool >/dev/null || skip "xdotool"
command -v xprop >/dev/null || skip "xprop (x11-utils)"
command -v dbus-run-session >/dev/null || skip "dbus-run-session (dbus)"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi-bus-launcher (at-spi2-core)"
# pyatspi is a Debian package, so another python3 earlier on PATH may not see it.
python=
for candidate in python3 /usr/bin/python3; do
    if command -v "$candidate" >/dev/null && "$candidate" -c 'import pyatspi' 2>/dev/null; then
        python=$candidate
        break
    fi
done
[ -n "$python" ] || skip "pyatspi (python3-pyatspi)"

work=$(mktemp -d)
xvfb_pid=
session_pid=

stop() {
    # Each is the leader of its own process group, so this also ends what it started
    # (the accessibility bus and registry, the program).
    for pid in $session_pid $xvfb_pid; do
        kill -TERM -- "-$pid" 2>/dev/null
    done
    for pid in $session_pid $xvfb_pid; do
        for _ in $(seq 50); do
            kill -0 -- "-$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL -- "-$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM

# -displayfd picks a free display number and writes it once the server accepts clients.
setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "FAIL: Xvfb did not start" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(cat "$work/display")"

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
export PYTHONDONTWRITEBYTECODE=1
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS

setsid timeout -k 5 90 dbus-run-session -- \
    "$python" "$here/e2e_accessibility.py" "$program" &
session_pid=$!
wait "$session_pid"
status=$?
[ "$status" -eq 124 ] && echo "FAIL: timed out" >&2
exit "$status"
