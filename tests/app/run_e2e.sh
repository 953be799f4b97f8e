#!/usr/bin/env bash
# Runs e2e_accessibility.py against the program on a private X server and D-Bus session bus.
# Exits 77 (skipped) when a tool it needs is not installed.
# Usage: run_e2e.sh PROGRAM
set -uo pipefail

program=${1:?usage: run_e2e.sh PROGRAM}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/xvfb.sh
. "$here/../../tools/xvfb.sh"

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
    # The session's group holds what it started: the accessibility bus and registry, the program.
    # shellcheck disable=SC2086 # unquoted, so that one not started yet is left out
    end_groups $session_pid $xvfb_pid
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM

start_xvfb "$work" || exit 1

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
