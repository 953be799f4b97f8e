#!/usr/bin/env bash
# DLLs planted beside Quorvane.exe under the names of system DLLs that are not KnownDLLs (a
# downloaded program's folder is the user's Downloads) are never loaded into it, under Wine with
# the Windows search order (native first), on each path on which it loads a DLL: start-up, the
# first announcement, a screen reader's first request (from a probe without COM, then with it),
# and the same request where COM cannot make the services that name the boxes. The probe started
# from the same folder shows first that the planted DLLs are loaded where nothing stops them.
# Exits 77 (skipped) when a tool is missing.
#
#   check_planted_dlls.sh PREFIX QUORVANE_EXE PLANTED_DLL PROBE_EXE
set -uo pipefail

prefix=${1:?usage: check_planted_dlls.sh PREFIX QUORVANE_EXE PLANTED_DLL PROBE_EXE}
exe=${2:?usage: check_planted_dlls.sh PREFIX QUORVANE_EXE PLANTED_DLL PROBE_EXE}
dll=${3:?usage: check_planted_dlls.sh PREFIX QUORVANE_EXE PLANTED_DLL PROBE_EXE}
probe=${4:?usage: check_planted_dlls.sh PREFIX QUORVANE_EXE PLANTED_DLL PROBE_EXE}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/prefix.sh
. "$here/../wine/prefix.sh"
need_wine
need Xvfb xvfb
need xdotool xdotool
wine_prefix "$prefix" || exit 1

# Not version.dll nor msimg32.dll, which Wine itself takes from the program's folder: its user32
# imports version.dll, loaded with the program before any of its code runs, and its uxtheme
# delay-loads msimg32.dll past the program's restriction of the search.
planted=(oleacc uxtheme)
# The server of the class that names the boxes for screen readers (CLSID_AccPropServices), broken
# for a while and put back (Wine reads no per-user classes). The prefix is this script's alone.
services='HKLM\Software\Classes\CLSID\{b5f8350b-0548-48b1-a6ee-88bd00b4a5e7}\InprocServer32'
serve() {
    wine reg add "$services" /ve /d "$1" /f >/dev/null 2>&1 </dev/null 9>&-
    wine reg query "$services" /ve 2>/dev/null </dev/null 9>&- | grep -qF "$1"
}
work=$(mktemp -d)
xvfb_pid=
stop() {
    serve 'C:\windows\system32\oleacc.dll'
    end_wine
    [ -z "$xvfb_pid" ] || end_groups "$xvfb_pid"
    rm -rf "$work"
}
trap stop EXIT
wine_xvfb "$work" || exit 1

folder=$work/Downloads
mkdir -p "$folder"
cp "$exe" "$folder/Quorvane.exe"
cp "$probe" "$folder/dll_probe.exe"
for name in "${planted[@]}"; do cp "$dll" "$folder/$name.dll"; done
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$(IFS=,; echo "${planted[*]}")=n,b"
export WINEDLLOVERRIDES

failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}
# loaded PATH: the planted DLLs loaded so far, by any process, then forgotten.
loaded() {
    local markers
    markers=$(cd "$folder" && ls -- *.loaded 2>/dev/null | sed 's/\.loaded$//' | tr '[:upper:]\n' '[:lower:] ')
    rm -f "$folder"/*.loaded
    if [ -n "$markers" ]; then
        fail "$1: loaded the planted $markers"
    else
        echo "ok: $1: no planted DLL loaded"
    fi
}

wine "$folder/dll_probe.exe" >/dev/null 2>&1 </dev/null 9>&-
control=$(cd "$folder" && ls -- *.loaded 2>/dev/null | tr '\n' ' ')
[ -n "$control" ] || { echo "FAIL: the planted DLLs are not loaded even into a program of their folder" >&2; exit 1; }
rm -f "$folder"/*.loaded
echo "ok: a program of the planted DLLs' folder loads them: $control"

# run_program COMMAND=EXPECTED...: starts Quorvane.exe, runs the probe's commands, each of which
# must print a line that begins with its EXPECTED, closes the program.
run_program() {
    wine "$folder/Quorvane.exe" >"$work/program.out" 2>&1 </dev/null 9>&- &
    local program_pid=$!
    wait_for_window 60 || { fail "no window 'Calculate BMI' within 60 s"; return; }
    # COM is set up once the window is drawn.
    sleep 1
    loaded "start-up"
    local step command
    for step in "$@"; do
        command=${step%%=*}
        wine "$probe" "$command" >"$work/probe.out" 2>&1 </dev/null 9>&-
        tr -d '\r' <"$work/probe.out" >"$work/probe.txt"
        grep -q "^${step#*=}" "$work/probe.txt" || fail "$command: no '${step#*=}' in: $(cat "$work/probe.txt")"
        loaded "$command"
    done
    wine "$probe" close </dev/null >/dev/null 2>&1 9>&-
    wait_for_exit "$program_pid" 10 || fail "the program is still running 10 s after its close"
    loaded "the end"
}

# Wine keeps no name set through Dynamic Annotation: the box answers with its label's, "Weight",
# where Windows says "Weight in pounds".
echo "-- the program as installed"
run_program "calculate=bdmass 22" "ask=with COM: Weight"
echo "-- COM cannot make the services that name the boxes"
serve 'C:\nowhere\none.dll' || fail "the class's server could not be changed"
run_program "ask=with COM: Weight"
exit "$failed"
