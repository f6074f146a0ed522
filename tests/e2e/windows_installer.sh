#!/usr/bin/env bash
# The installer under Wine, as a player without administrator rights runs
# it: silently (/S), for the user alone. The program lands in
# %LOCALAPPDATA%\Programs\Tavolin with its Start menu entry and starts from
# there with its size recorded; it refuses to replace a running copy, an
# update keeps the player's databases, and the uninstaller takes the program
# away and leaves them.
# Usage: windows_installer.sh SETUP_EXE WINE_PREFIX ARTIFACT_DIR
set -euo pipefail
setup=$1
prefix=$2
E2E_ARTIFACTS=$3
source "$(dirname "$0")/lib.sh"
e2e_start
e2e_wine "$prefix"

local_app_data=$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
folder=$(winepath -u "$local_app_data\\Programs\\Tavolin")
start_menu=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs")
rm -rf "$folder" "$start_menu/Tavolin.lnk"

wine "$setup" /S
for file in tavolin.exe Qt6Widgets.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll \
    translations/qtbase_de.qm fnames.dat mnames.dat LIESMICH.txt LIZENZEN.txt lizenzen/LGPL-3 Deinstallieren.exe; do
    [ -e "$folder/$file" ] || e2e_fail "not installed: $file"
done
[ -e "$start_menu/Tavolin.lnk" ] || e2e_fail "no Start menu entry"
wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavolin' /v EstimatedSize 2>/dev/null |
    grep -q 'REG_DWORD' || e2e_fail "no size recorded for Apps"

wine "$folder/tavolin.exe" &
pid=$!
E2E_PIDS+=("$pid")
win=$(e2e_wait_window "$pid" "$E2E_TITLE" 90) || e2e_fail "the installed program shows no window"
e2e_settled_screenshot "$E2E_ARTIFACTS/windows_installed.png"
# Over a running Tavolin a silent install gives up and replaces nothing.
touch -d '2001-01-01' "$folder/Qt6Core.dll"
wine "$setup" /S && e2e_fail "the installer went on over a running Tavolin"
[ "$(stat -c %Y "$folder/Qt6Core.dll")" = "$(date -d 2001-01-01 +%s)" ] || e2e_fail "the installer replaced a file"
e2e_close "$win"
e2e_wait_exit "$pid" 60
[ -e "$folder/tavolin.ini" ] || e2e_fail "the installed program wrote no tavolin.ini beside itself"

# The player's names: an update leaves them, so does the uninstaller.
printf 'Zyxwanda\xb3\r\n' >>"$folder/fnames.dat"
cp "$folder/fnames.dat" "$E2E_TMP/fnames.expected"
wine "$setup" /S
cmp "$folder/fnames.dat" "$E2E_TMP/fnames.expected" || e2e_fail "the update replaced fnames.dat"
# _?= runs the uninstaller where it is and waits for it.
wine "$folder/Deinstallieren.exe" /S "_?=$(winepath -w "$folder")"
rm -f "$folder/Deinstallieren.exe" # what the uninstaller run in place cannot remove: itself
left=$(cd "$folder" && ls -A | tr '\n' ' ')
[ "$left" = "fnames.dat mnames.dat tavolin.ini " ] || e2e_fail "left after uninstalling: $left"
cmp "$folder/fnames.dat" "$E2E_TMP/fnames.expected" || e2e_fail "the uninstaller changed fnames.dat"
[ ! -e "$start_menu/Tavolin.lnk" ] || e2e_fail "the Start menu entry stays"
echo "ok: installed, started, updated and uninstalled under Wine; the names stayed"
