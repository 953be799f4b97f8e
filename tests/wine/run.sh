#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix PREFIX (a folder of the build tree), which it
# makes on first use. What the program writes is printed once it has ended, with its CR LF line
# ends made LF, and its exit status is passed on. Exits 77 (skipped) when a tool is missing.
#
#   run.sh [--xvfb] PREFIX PROGRAM [ARGUMENTS...]
#
# --xvfb runs the program on a private Xvfb, and ends the prefix's wineserver with it, so that
# nothing of Wine outlives the display it was started on.
set -uo pipefail

xvfb=
if [ "${1:-}" = --xvfb ]; then
    xvfb=1
    shift
fi
prefix=${1:?usage: run.sh [--xvfb] PREFIX PROGRAM [ARGUMENTS...]}
program=${2:?usage: run.sh [--xvfb] PREFIX PROGRAM [ARGUMENTS...]}
shift 2

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/prefix.sh
. "$here/prefix.sh"
need_wine
[ -z "$xvfb" ] || need Xvfb xvfb
wine_prefix "$prefix" || exit 1

work=$(mktemp -d)
xvfb_pid=
stop() {
    [ -z "$xvfb" ] || end_wine
    [ -z "$xvfb_pid" ] || end_groups "$xvfb_pid"
    rm -rf "$work"
}
trap stop EXIT

if [ -n "$xvfb" ]; then
    wine_xvfb "$work" || exit 1
else
    unset DISPLAY
fi

# Wine writes to files only (see prefix.sh); they are printed once the program has ended.
wine "$program" "$@" >"$work/out" 2>"$work/err" </dev/null 9>&-
status=$?
tr -d '\r' <"$work/out"
tr -d '\r' <"$work/err" >&2
exit "$status"
