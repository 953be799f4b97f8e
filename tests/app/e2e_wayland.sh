#!/usr/bin/env bash
# The program as a native Wayland client of a private headless sway, driven by keys from wtype and
# read through the clipboard and sway's window tree: it opens at its size, shows a result, opens
# its box, stays as it is when the compositor closes it while the box is open, and ends with
# status 0 when closed once the box is gone; the end of the session (SIGTERM) ends it with the box
# open. It prints nothing on stderr. sway will not run as root: as root, the compositor and the
# program run as a system user of their own.
# Usage: e2e_wayland.sh PROGRAM
set -euo pipefail

program=$(realpath "${1:?usage: e2e_wayland.sh PROGRAM}")
for tool in sway swaymsg wtype wl-copy wl-paste setpriv python3; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d)
chmod 755 "$work"
sway_pid=
app_pid=
stop() {
    [ -z "$app_pid" ] || kill -KILL "$app_pid" 2>/dev/null || true
    [ -z "$sway_pid" ] || kill -TERM "$sway_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap stop EXIT

as_user=()
if [ "$(id -u)" -eq 0 ]; then
    id quorvane-e2e >/dev/null 2>&1 \
        || useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin quorvane-e2e
    as_user=(setpriv --reuid=quorvane-e2e --regid="$(id -g quorvane-e2e)" --clear-groups)
fi
# The user may not reach the build tree (a home folder, say): it runs its own copy.
install -m 755 "$program" "$work/quorvane"
mkdir -m 700 "$work/run"
[ ${#as_user[@]} -eq 0 ] || chown quorvane-e2e "$work/run"
printf 'output HEADLESS-1 resolution 1024x768 scale 1\nxwayland disable\n' >"$work/sway.conf"

# A command as the user, in the session's environment and no other: sway binds the socket that
# SWAYSOCK names, so that is set once sway has made it.
# Set as an array, so that a command run in the background is this script's own child.
session() {
    local vars=(PATH="$PATH" HOME="$work" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=wayland)
    [ -z "${swaysock:-}" ] || vars+=(SWAYSOCK="$swaysock" WAYLAND_DISPLAY="$display")
    as=(env -i "${vars[@]}" "${as_user[@]}")
}
session
run() { "${as[@]}" "$@"; }

fail() {
    echo "FAIL: $1" >&2
    [ ! -s "$work/stderr" ] || sed 's/^/  program: /' "$work/stderr" >&2
    exit 1
}

# wait_until SECONDS COMMAND...: retries the command every 0.1 s.
wait_until() {
    local tries=$(($1 * 10))
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# The program's windows in sway's tree, one line each: title, then the size of its surface.
windows() {
    run swaymsg -r -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("pid") == int(sys.argv[1]):
        geometry = node["geometry"]
        print(node["name"], geometry["width"], geometry["height"], sep="|")
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))' "$app_pid"
}
has_window() { windows | grep -q "^$1|"; }
no_window() { ! windows | grep -q "^$1|"; }

# A new virtual keyboard loses its first key to the keymap it sends: a Shift goes first.
keys() { run wtype -k Shift_L "$@"; }

# What the focused box holds, through the clipboard.
copied() {
    run wl-copy --clear
    keys -M ctrl a c -m ctrl
    run wl-paste --no-newline 2>/dev/null || true
}

start() {
    : >"$work/stderr"
    "${as[@]}" "$work/quorvane" 2>"$work/stderr" &
    app_pid=$!
    wait_until 10 has_window "Calculate BMI" || fail "the window did not open"
    sleep 0.5
}

"${as[@]}" env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway --config "$work/sway.conf" >"$work/sway.log" 2>&1 &
sway_pid=$!
wait_until 10 compgen -G "$work/run/sway-ipc.*.sock" >/dev/null || { cat "$work/sway.log" >&2; fail "sway did not start"; }
swaysock=$(compgen -G "$work/run/sway-ipc.*.sock")
display=$(basename "$(compgen -G "$work/run/wayland-[0-9]" | head -n1)")
session

start
[ "$(windows)" = "Calculate BMI|312|289" ] || fail "the window opened as $(windows), not 312 x 289"
echo "PASS: the window opens at 312 x 289"

# weight, heightf, ft; on to Command1 past bdmass and nutrition, then back to bdmass.
keys 150 -k Tab 5 -k Tab 10 -k Tab -k Tab -k Tab -k space -M shift -k Tab -k Tab -m shift
[ "$(copied)" = 22 ] || fail "the index reads '$(copied)', not 22"
keys -k Tab
[ "$(copied)" = Desirable ] || fail "the category reads '$(copied)', not Desirable"
echo "PASS: 150 lb at 5 ft 10 in shows 22, Desirable"

# From nutrition: Command1, then weight, retyped; on to Command1 again.
keys -k Tab -k Tab 500 -k Tab -k Tab -k Tab -k Tab -k Tab -k space
wait_until 5 has_window Quorvane || fail "the error box did not open"
run swaymsg "[pid=$app_pid title=\"Calculate BMI\"] kill" >/dev/null
sleep 1
kill -0 "$app_pid" 2>/dev/null || fail "the compositor's close ended the program while the box was open"
has_window "Calculate BMI" && has_window Quorvane || fail "the compositor's close took a window away: $(windows)"
echo "PASS: the compositor's close changes nothing while the box is open"

keys -k Return
wait_until 5 no_window Quorvane || fail "OK did not close the box"
run swaymsg "[pid=$app_pid title=\"Calculate BMI\"] kill" >/dev/null
wait_until 5 eval '! kill -0 "$app_pid" 2>/dev/null' || fail "the compositor's close did not end the program"
status=0
wait "$app_pid" || status=$?
app_pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status"
[ ! -s "$work/stderr" ] || fail "the program wrote on stderr"
echo "PASS: after OK, the compositor's close ends the program with status 0, nothing on stderr"

start
keys 500 -k Tab -k Tab -k Tab -k Tab -k Tab -k space
wait_until 5 has_window Quorvane || fail "the error box did not open"
kill -TERM "$app_pid"
wait_until 5 eval '! kill -0 "$app_pid" 2>/dev/null' || fail "SIGTERM did not end the program while the box was open"
app_pid=
echo "PASS: the end of the session ends the program while the box is open"
