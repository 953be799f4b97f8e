#!/usr/bin/env bash
# Installs the MSI under Wine without questions, checks the program under Program Files, its
# Start-menu shortcut and its uninstall entry, then uninstalls it and checks all three are gone.
# Exits 77 (skipped) when Wine is missing.
#
#   check_msi.sh PREFIX MSI QUORVANE_EXE
set -uo pipefail

prefix=${1:?usage: check_msi.sh PREFIX MSI QUORVANE_EXE}
msi=${2:?usage: check_msi.sh PREFIX MSI QUORVANE_EXE}
exe=${3:?usage: check_msi.sh PREFIX MSI QUORVANE_EXE}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/prefix.sh
. "$here/../wine/prefix.sh"
need_wine
wine_prefix "$prefix" || exit 1
unset DISPLAY
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A Unix path is not absolute to a Windows program: give the drive Z: form.
windows_msi="Z:${msi//\//\\}"
installed="$WINEPREFIX/drive_c/Program Files/Quorvane/Quorvane.exe"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# Wine's exit status says little: each step is judged by what it left behind.
# Windows puts a per-machine shortcut in the common Start menu; Wine 8 puts it in the user's.
shortcut() { find "$WINEPREFIX/drive_c" -name 'Quorvane.lnk' -path '*Start Menu/Programs*' | head -n1; }
entry() {
    wine reg query "$uninstall_key" /s >"$work/reg" 2>&1 </dev/null 9>&-
    tr -d '\r' <"$work/reg" | grep -E 'DisplayName +REG_SZ +Quorvane$'
}

wine msiexec /i "$windows_msi" /qn >"$work/install" 2>&1 </dev/null 9>&-
cmp -s "$installed" "$exe" || fail "no copy of Quorvane.exe at $installed"
echo "ok: installed at $installed"
[ -n "$(shortcut)" ] || fail "no Start-menu shortcut Quorvane.lnk"
echo "ok: Start-menu shortcut $(shortcut)"
entry >/dev/null || fail "no uninstall entry named Quorvane under $uninstall_key"
echo "ok: uninstall entry: $(entry)"

wine msiexec /x "$windows_msi" /qn >"$work/uninstall" 2>&1 </dev/null 9>&-
[ ! -e "$installed" ] || fail "Quorvane.exe is still there after the uninstall"
[ -z "$(shortcut)" ] || fail "the shortcut is still there after the uninstall"
entry >/dev/null && fail "the uninstall entry is still there after the uninstall"
echo "ok: uninstalled"
