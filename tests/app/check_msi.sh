#!/usr/bin/env bash
# Installs the MSI under Wine without questions, checks the program under Program Files, its
# Start-menu shortcut and its uninstall entry; then a later version over it, which must leave one
# entry and one program; then uninstalls it and checks all three are gone.
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
tr -d '\r' <"$work/reg" | grep -qiE 'InstallLocation +REG_SZ +C:\\Program Files\\Quorvane\\?$' ||
    fail "the uninstall entry gives no InstallLocation C:\\Program Files\\Quorvane"
echo "ok: the entry's InstallLocation is the program's folder"

# A later version installed over this one takes its place. It is this package with a higher
# version, its own product and package codes, and its upgrade rule moved to match (msitools).
if command -v msibuild >/dev/null && command -v msiinfo >/dev/null; then
    # The program's version in the File table, which repairs and upgrades compare.
    version=$(msiinfo export "$msi" File | tr -d '\r' | awk -F'\t' '$1 == "ProgramExe" { print $5 }')
    [ "$version" = "$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductVersion" { print $2 }')" ] ||
        fail "the File table gives Quorvane.exe the version '$version', not the product's"
    echo "ok: Quorvane.exe is version $version in the File table"
    next="$work/next.msi"
    cp "$msi" "$next"
    upgrade_code=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "UpgradeCode" { print $2 }')
    # The Upgrade table's versions are part of its key: its rows are replaced, not updated.
    for query in "UPDATE Property SET Value='99.0.0.0' WHERE Property='ProductVersion'" \
        "UPDATE Property SET Value='{5C7D3B51-9A0E-4C55-8C1B-2F6A1E0D9B11}' WHERE Property='ProductCode'" \
        "DELETE FROM Upgrade WHERE ActionProperty='WIX_UPGRADE_DETECTED'" \
        "DELETE FROM Upgrade WHERE ActionProperty='WIX_DOWNGRADE_DETECTED'" \
        "INSERT INTO Upgrade (UpgradeCode, VersionMax, Attributes, ActionProperty) VALUES ('$upgrade_code', '99.0.0.0', 1, 'WIX_UPGRADE_DETECTED')"; do
        msibuild "$next" -q "$query" >>"$work/msibuild" 2>&1 || fail "msibuild: $query"
    done
    msibuild "$next" -s Quorvane "Quorvane developers" "x64;1033" "{0F3E8A42-6B1D-4E7A-9C25-7D4B8E1A3C60}" \
        >>"$work/msibuild" 2>&1 ||
        fail "msibuild could not make the later package"
    windows_msi="Z:${next//\//\\}"
    wine msiexec /i "$windows_msi" /qn >"$work/upgrade" 2>&1 </dev/null 9>&-
    cmp -s "$installed" "$exe" || fail "no Quorvane.exe at $installed after the upgrade"
    [ "$(entry | wc -l)" -eq 1 ] || fail "not one uninstall entry after the upgrade: $(entry)"
    tr -d '\r' <"$work/reg" | grep -qE 'DisplayVersion +REG_SZ +99\.0\.0' ||
        fail "the uninstall entry is not the later version's"
    echo "ok: upgraded in place, one entry: $(entry)"
else
    echo "skipped: the upgrade (msibuild, package msitools, not installed)"
fi

wine msiexec /x "$windows_msi" /qn >"$work/uninstall" 2>&1 </dev/null 9>&-
[ ! -e "$installed" ] || fail "Quorvane.exe is still there after the uninstall"
[ -z "$(shortcut)" ] || fail "the shortcut is still there after the uninstall"
entry >/dev/null && fail "the uninstall entry is still there after the uninstall"
echo "ok: uninstalled"
