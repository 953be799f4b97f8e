#!/usr/bin/env bash
# Renders the Windows program under Wine into a PNG: the window after 150 lb at 5 ft 10 in, at a
# DPI and in a colour scheme, on a private Xvfb, in a Wine prefix of its own (build/win64/shots-*),
# so that the test prefix keeps the default scheme.
#
#   tools/render-win32-screenshot.sh OUT.png [DPI [default|dark|high-contrast-black|high-contrast-white]]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:?usage: render-win32-screenshot.sh OUT.png [DPI [SCHEME]]}")
dpi=${2:-96}
scheme=${3:-default}
case $dpi in
'' | *[!0-9]*) echo "DPI must be a number, such as 96 or 192" >&2; exit 2 ;;
esac

# Each scheme as the Colors key holds it: face, face text, window, window text, highlight,
# highlight text, shadow, light, grey text.
case $scheme in
default) colours=() ;;
dark) colours=("45 45 48" "241 241 241" "30 30 30" "241 241 241" "0 120 215" "255 255 255" "20 20 20" "80 80 84" "160 160 160") ;;
high-contrast-black) colours=("0 0 0" "255 255 255" "0 0 0" "255 255 255" "26 235 255" "0 0 0" "255 255 255" "255 255 255" "63 242 63") ;;
high-contrast-white) colours=("255 255 255" "0 0 0" "255 255 255" "0 0 0" "55 0 110" "255 255 255" "0 0 0" "0 0 0" "96 0 0") ;;
*) echo "unknown scheme: $scheme" >&2; exit 2 ;;
esac

tools/install-packages.sh imagemagick xdotool
cmake -S . -B build/win64 -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64 --target Quorvane
. tests/wine/prefix.sh
wine_prefix "build/win64/shots-$dpi-$scheme" || exit 1

reg() { wine reg add "$@" /f >/dev/null 2>&1 </dev/null 9>&-; }
reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
reg 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi"
if [ ${#colours[@]} -gt 0 ]; then
    names=(ButtonFace ButtonText Window WindowText Hilight HilightText ButtonShadow ButtonHilight GrayText)
    for i in "${!names[@]}"; do
        reg 'HKCU\Control Panel\Colors' /v "${names[$i]}" /d "${colours[$i]}"
    done
    reg 'HKCU\Control Panel\Colors' /v Menu /d "${colours[0]}"
    reg 'HKCU\Control Panel\Colors' /v ActiveTitle /d "${colours[4]}"
    # As on Windows, where a scheme of one's own colours or of high contrast turns visual styles off.
    reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /d 0
fi
end_wine || true

work=$(mktemp -d)
xvfb_pid=
# Outside errexit: ending what is already gone is no failure.
trap '{ end_wine; [ -z "$xvfb_pid" ] || end_groups "$xvfb_pid"; rm -rf "$work"; } || true' EXIT
wine_xvfb "$work" || exit 1
wineserver -p60 >/dev/null 2>&1 </dev/null 9>&- || true
wine build/win64/app/Quorvane.exe >/dev/null 2>&1 </dev/null 9>&- &
wait_for_window 60 || { echo "FAIL: no window 'Calculate BMI' within 60 s" >&2; exit 1; }
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool type --delay 50 150
xdotool key Tab && xdotool type 5 && xdotool key Tab && xdotool type 10
# Tab goes from the inches to the index; the button is clicked at its middle (1680+1695/2, 1440+375/2 twips).
xdotool mousemove --window "$window" $((2527 * dpi / 1440)) $((1627 * dpi / 1440)) click 1
sleep 1
mkdir -p "$(dirname "$out")"
import -window "$window" "$out"
echo "$out"
