#!/usr/bin/env bash
# The Windows program as a player gets it: the zip unpacked into a folder
# whose name is no ASCII, started under Wine on a virtual X server with
# openbox. A name is drawn and copied, a name added (the database's bytes),
# a foreign database merged through the real open dialog, and the window
# closed, which writes tavolin.ini; then the folder is made read-only.
# Screenshots are left in ARTIFACT_DIR.
# Usage: windows_zip.sh ZIP WINE_PREFIX ARTIFACT_DIR
set -euo pipefail
zip=$1
prefix=$2
E2E_ARTIFACTS=$3
source "$(dirname "$0")/lib.sh"
e2e_need_tools unzip xclip iconv compare wrestool chattr
e2e_start
e2e_wine "$prefix"

folder="$E2E_TMP/Spiele – Wuzels Ä"
work=$E2E_TMP/work # where the open dialog starts
mkdir -p "$folder" "$work" "$E2E_ARTIFACTS"
unzip -q "$zip" -d "$folder"
program=$folder/Tavolin
name=Zyxwanda # in neither database
cp "$program/mnames.dat" "$E2E_TMP/mnames.expected"
{ cat "$program/fnames.dat" && printf '%s\xb3\r\n' "$name"; } >"$E2E_TMP/fnames.added"
{ cat "$E2E_TMP/fnames.added" && printf '%s\xb3\r\n' Zyxa Zyxb; } >"$E2E_TMP/fnames.merged"
printf 'Zyxa\xb3Zyxb\xb3' >"$work/meine.dat"

# The licences of what it ships, the names' origin among them.
grep -q 'Davide Violante' "$program/LIZENZEN.txt" && grep -q 'LESSER GENERAL PUBLIC' "$program/lizenzen/LGPL-3" &&
    grep -q 'LGPL' "$program/LIESMICH.txt" ||
    e2e_fail "no licence notices in the zip"

# Its manifest and its German version resource, as Windows reads them.
manifest=$(wrestool -x --raw --type=24 --name=1 "$program/tavolin.exe")
grep -q '<dpiAwareness[^>]*>PerMonitorV2<' <<<"$manifest" && grep -q '<longPathAware[^>]*>true<' <<<"$manifest" &&
    grep -q '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a' <<<"$manifest" || e2e_fail "no manifest for DPI, long paths, Windows 10"
wrestool -l --type=16 "$program/tavolin.exe" | grep -q 'language=1031' || e2e_fail "the version resource is not German"

(cd "$work" && exec wine "$program/tavolin.exe") &
pid=$!
E2E_PIDS+=("$pid")
win=$(e2e_wait_window "$pid" "$E2E_TITLE" 90) || e2e_fail "no window titled '$E2E_TITLE'"
e2e_settled_screenshot "$E2E_ARTIFACTS/windows_start.png"

# Button1 draws, Button3 copies: the clipboard gets a name of the databases.
clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
copied() { [ "$(clipboard)" != leer ]; }
printf leer | xclip -i -selection clipboard
e2e_click "$win" 142 20
e2e_click "$win" 142 72
e2e_wait_for 20 copied || e2e_fail "the draw copied nothing"
drawn=$(clipboard | iconv -f UTF-8 -t WINDOWS-1252)
[ -n "$drawn" ] && grep -qaF "$drawn"$'\xb3' "$program/fnames.dat" "$program/mnames.dat" ||
    e2e_fail "the drawn name '$(clipboard)' is in neither database"

e2e_add_name "$win" "$name"
e2e_wait_for 30 cmp -s "$program/fnames.dat" "$E2E_TMP/fnames.added" ||
    e2e_fail "fnames.dat does not end with the new name: $(tail -c 40 "$program/fnames.dat" | od -c)"

e2e_load_database "$pid" "$win" meine.dat
e2e_merge "$win"
e2e_wait_window "$pid" Erfolgreich 20 >/dev/null || e2e_fail "the merge showed no box"
e2e_settled_screenshot "$E2E_ARTIFACTS/windows_merged.png"
e2e_answer "$pid" Erfolgreich
cmp "$program/fnames.dat" "$E2E_TMP/fnames.merged" || e2e_fail "fnames.dat: $(tail -c 40 "$program/fnames.dat" | od -c)"

e2e_close "$win"
e2e_wait_exit "$pid" 60
[ "$E2E_RC" = 0 ] || e2e_fail "exit code $E2E_RC"
cmp "$program/mnames.dat" "$E2E_TMP/mnames.expected" || e2e_fail "mnames.dat changed"
printf '%s\r\n' 0 0 0 "MS Sans Serif" 8 255 255 255 192 192 192 192 192 192 | cmp - "$program/tavolin.ini" ||
    e2e_fail "tavolin.ini: $(od -c "$program/tavolin.ini" | head)"

# The command line of the windowless program writes to a pipe as UTF-8.
drawn=$(cd "$work" && wine "$program/tavolin.exe" --name --weiblich --anzahl 2 2>/dev/null | tr -d '\r') ||
    e2e_fail "--name ended with $?"
[ "$(sort -u <<<"$drawn" | wc -l)" = 2 ] || e2e_fail "--anzahl 2 printed: $drawn"
while read -r name; do
    iconv -f CP1252 -t UTF-8 "$program/fnames.dat" | tr -d '\r' | grep -qxF "$name³" || e2e_fail "'$name' is no female name"
done <<<"$drawn"
(cd "$work" && wine "$program/tavolin.exe" --unbekannt >/dev/null 2>&1) && e2e_fail "an unknown option passed"
[ $? = 2 ] || e2e_fail "an unknown option ended with $?, not 2"

# A program folder the player cannot write to: the first start copies its
# files into %LOCALAPPDATA%\Tavolin and says so once; the names go there.
user=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')\\Tavolin")
rm -rf "$user" # the prefix is kept between runs
trap 'chattr -i "$program" 2>/dev/null; e2e_stop' EXIT
chattr +i "$program"
for run in first again; do
    (cd "$work" && exec wine "$program/tavolin.exe") &
    pid=$! && E2E_PIDS+=("$pid")
    [ $run = again ] || e2e_answer "$pid" "Neuer Ort der Namen"
    win=$(e2e_wait_window "$pid" "$E2E_TITLE" 90) || e2e_fail "no window in the $run start"
    e2e_add_name "$win" "Zyx$run"
    e2e_wait_for 30 grep -qa "Zyx$run" "$user/fnames.dat" || e2e_fail "Zyx$run not in $user/fnames.dat"
    e2e_close "$win"
    e2e_wait_exit "$pid" 60
    [ "$E2E_RC" = 0 ] || e2e_fail "exit code $E2E_RC"
done
cmp "$program/fnames.dat" "$E2E_TMP/fnames.merged" || e2e_fail "the read-only folder's database changed"
head -c "$(stat -c %s "$E2E_TMP/fnames.merged")" "$user/fnames.dat" | cmp - "$E2E_TMP/fnames.merged" &&
    cmp "$user/mnames.dat" "$E2E_TMP/mnames.expected" && cmp "$user/tavolin.ini" "$program/tavolin.ini" ||
    e2e_fail "the user's folder did not get the program folder's files"
echo "ok: drawn, added, merged and closed under Wine, names moved out of a read-only folder; screenshots in $E2E_ARTIFACTS"
