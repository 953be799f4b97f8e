#!/usr/bin/env bash
# Uses Quorvane.exe under Wine as a person would, on a private Xvfb: real keys (xdotool), texts
# read back through the clipboard (xclip). One calculation, one length cut, then the window's
# close, which must end the program. Exits 77 (skipped) when a tool is missing.
#
#   e2e_win32.sh PREFIX QUORVANE_EXE
set -uo pipefail

prefix=${1:?usage: e2e_win32.sh PREFIX QUORVANE_EXE}
exe=${2:?usage: e2e_win32.sh PREFIX QUORVANE_EXE}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/prefix.sh
. "$here/../wine/prefix.sh"
need_wine
need Xvfb xvfb
need xdotool xdotool
need xclip xclip
wine_prefix "$prefix" || exit 1

work=$(mktemp -d)
xvfb_pid=
program_pid=
stop() {
    end_wine
    [ -z "$xvfb_pid" ] || end_groups "$xvfb_pid"
    rm -rf "$work"
}
trap stop EXIT
wine_xvfb "$work" || exit 1

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

wine "$exe" >"$work/out" 2>&1 </dev/null 9>&- &
program_pid=$!
# The first start in a new prefix sets up fonts and the desktop: it can take many seconds.
wait_for_window 60 || fail "no window 'Calculate BMI' within 60 s"
# With no window manager keys go to the window under the pointer until it has the focus.
xdotool mousemove --window "$window" 5 5 windowfocus --sync "$window"
sleep 0.3

keys() { xdotool key --delay 30 "$@"; }
typed() { xdotool type --delay 30 "$1"; }

# The focused box's whole text, through the clipboard (Wine's EDIT has no Ctrl+A: Home, Shift+End).
read_box() {
    keys Home shift+End ctrl+c
    sleep 0.3
    timeout 5 xclip -o -selection clipboard 2>/dev/null </dev/null
}

# Wine takes the keys and the clipboard in its own time: a busy machine gets a few more tries.
expect() {
    local what=$1 wanted=$2 seen
    for _ in 1 2 3 4 5; do
        seen=$(read_box)
        [ "$seen" = "$wanted" ] && break
    done
    [ "$seen" = "$wanted" ] || fail "$what shows '$seen', not '$wanted'"
    echo "ok: $what shows '$seen'"
}

# The focus starts in weight; a fourth digit is cut again at once.
typed 1500
expect weight 150
keys Tab; typed 5
keys Tab; typed 10
keys Tab Tab Tab space # bdmass, nutrition, Command1
sleep 0.3
keys shift+Tab shift+Tab
expect bdmass 22
keys Tab
expect nutrition Desirable

keys alt+F4
wait_for_exit "$program_pid" 10 || fail "the program is still running 10 s after its window was closed"
echo "ok: closing the window ended the program"
