#!/usr/bin/env bash
# Starts Quorvane.exe under Wine where no window can be made (no display: Wine's desktop then has
# no driver) and checks that it ends, with status 1, instead of waiting for messages for ever.
# Exits 77 (skipped) when Wine is missing.
#
#   check_win32_no_window.sh PREFIX QUORVANE_EXE
set -uo pipefail

prefix=${1:?usage: check_win32_no_window.sh PREFIX QUORVANE_EXE}
exe=${2:?usage: check_win32_no_window.sh PREFIX QUORVANE_EXE}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/prefix.sh
. "$here/../wine/prefix.sh"
need_wine
wine_prefix "$prefix" || exit 1
work=$(mktemp -d)
# The desktop made here has no driver: nothing of this Wine may serve a later program.
trap 'end_wine; rm -rf "$work"' EXIT
end_wine
unset DISPLAY

timeout 60 wine "$exe" >"$work/out" 2>&1 </dev/null 9>&-
status=$?
if [ "$status" -ne 1 ]; then
    echo "FAIL: exit status $status, not 1 (124: still running after 60 s)" >&2
    exit 1
fi
echo "ok: no window, exit status 1"
