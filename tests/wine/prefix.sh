# Sourced by the Wine test scripts.
#
# Wine's own processes (wineserver, explorer, services) inherit the standard output of the first
# program started in a prefix and keep it open long after that program has ended: a reader
# waiting for the end of a pipe can wait for ever. So Wine only ever writes to files, reads
# /dev/null, and is judged by what it wrote, not by its exit status alone.

# shellcheck source=tools/xvfb.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/xvfb.sh"

export WINEDEBUG=-all
# No Mono or Gecko: their install prompts would wait for a click nobody gives.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d"

# need TOOL PACKAGE: exits 77 (skipped) when TOOL is not installed.
need() {
    if ! command -v "$1" >/dev/null; then
        echo "SKIP: $1 ($2) not installed" >&2
        exit 77
    fi
}

need_wine() {
    need wine "wine, wine64"
    need wineserver wine
}

# wine_prefix PREFIX: takes the prefix's lock for the rest of the script (runs in one prefix take
# turns), makes the prefix on first use (15 s or more) and starts its wineserver, kept running
# between programs: a program then maps its window in 0.3 s instead of 1.4 s.
wine_prefix() {
    mkdir -p "$1" || return 1
    WINEPREFIX=$(cd "$1" && pwd)
    export WINEPREFIX
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/.quorvane-ready" ]; then
        echo "Making the Wine prefix $WINEPREFIX" >&2
        env -u DISPLAY wineboot --init >"$WINEPREFIX.boot.log" 2>&1 </dev/null 9>&-
        wineserver -w >/dev/null 2>&1 </dev/null 9>&-
        if [ ! -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
            echo "FAIL: wineboot made no prefix; see $WINEPREFIX.boot.log" >&2
            return 1
        fi
        # A new prefix does not pick up fonts-wine: without its faces captions fall back and the
        # caption buttons draw as letters.
        if compgen -G '/usr/share/wine/fonts/*.ttf' >/dev/null; then
            cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        fi
        wineserver -w >/dev/null 2>&1 </dev/null 9>&-
        touch "$WINEPREFIX/.quorvane-ready"
    fi
    # With no window manager every window's end waits 2 s for a withdrawal nobody confirms. The
    # window tests, which make a window per case and need no window manager's view of it, take
    # Wine's own unmanaged windows (0.25 s). Its own mark, so that an older prefix gets them too.
    if [ ! -f "$WINEPREFIX/.quorvane-unmanaged" ]; then
        for test in form1_win32_tests window_win32_tests edit_text_box_tests; do
            wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$test.exe\\X11 Driver" \
                /v Managed /d N /f >>"$WINEPREFIX.boot.log" 2>&1 </dev/null 9>&-
        done
        wineserver -w >/dev/null 2>&1 </dev/null 9>&-
        touch "$WINEPREFIX/.quorvane-unmanaged"
    fi
    # Kept up between programs, and gone a minute after the last; exits 1, harmlessly, when the
    # server is already running.
    wineserver -p60 >/dev/null 2>&1 </dev/null 9>&- || true
}

# wait_for_window SECONDS: sets window to the program's visible window once Wine maps it; fails
# when none comes in time.
wait_for_window() {
    local _
    window=
    for _ in $(seq $(($1 * 20))); do
        window=$(xdotool search --onlyvisible --name '^Calculate BMI$' 2>/dev/null | head -n1)
        [ -n "$window" ] && return 0
        sleep 0.05
    done
    return 1
}

# wait_for_exit PID SECONDS: fails when the process is still running after SECONDS.
wait_for_exit() {
    local _
    for _ in $(seq $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

end_wine() {
    wineserver -k >/dev/null 2>&1 </dev/null 9>&-
    wineserver -w >/dev/null 2>&1 </dev/null 9>&-
}

# wine_xvfb WORKDIR: start_xvfb (tools/xvfb.sh), with the prefix's wineserver ended first: a
# desktop that Wine made for a program run without a display has no display driver, and every
# window a later program makes on it fails.
wine_xvfb() {
    end_wine
    start_xvfb "$1"
}
