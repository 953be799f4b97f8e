# Sourced by the scripts that need a private X server; tools/with-xvfb runs a command on one.

# start_xvfb WORKDIR: starts Xvfb on a free display (-displayfd writes its number once the server
# accepts clients) as the leader of a process group of its own, with its output in
# WORKDIR/xvfb.log; sets DISPLAY and xvfb_pid.
start_xvfb() {
    # Not holding a lock of the caller's (the Wine prefix's, on descriptor 9): a server left behind
    # would keep every later run waiting for it.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1/display" >"$1/xvfb.log" 2>&1 </dev/null 9>&- &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$1/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$1/display" ]; then
        echo "FAIL: Xvfb did not start" >&2
        cat "$1/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(cat "$1/display")"
}

# end_groups PID...: ends the process group each PID leads, and with it whatever that process
# started; a group still there after 5 s is killed.
end_groups() {
    local pid
    for pid in "$@"; do
        kill -TERM -- "-$pid" 2>/dev/null
    done
    for pid in "$@"; do
        for _ in $(seq 50); do
            kill -0 -- "-$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL -- "-$pid" 2>/dev/null
    done
    return 0
}
