#!/usr/bin/env bash
# The real program in a folder whose name is no UTF-8 (the Windows-1252 "ä",
# byte E4, as an archive from another system unpacks it) while an editor
# changes its female database twice: once saved as editors do (a new file
# renamed over the old one), once appended to in place. After each change a
# name is added in the program's window; the file must then hold the
# editor's name and the program's, byte for byte. Closing writes tavolin.ini
# into that folder and leaves nothing else behind.
# Usage: outside_edit.sh TAVOLIN_EXECUTABLE DATA_DIR ARTIFACT_DIR
set -euo pipefail
exe=$1
data=$2
E2E_ARTIFACTS=$3
source "$(dirname "$0")/lib.sh"
e2e_need_tools
e2e_start

title=$E2E_TITLE
program=$E2E_TMP/$(printf 'Spiel\344')
mkdir -p "$program"
cp "$exe" "$program/tavolin"
cp "$data/fnames.dat" "$data/mnames.dat" "$program/"
cp "$program/fnames.dat" "$E2E_TMP/fnames.expected"

"$program/tavolin" &
pid=$!
E2E_PIDS+=("$pid")
win=$(e2e_wait_window "$pid" "$title") || e2e_fail "no window titled '$title'"
# No box about a database that cannot be opened.
e2e_wait_for 5 e2e_only_windows "$pid" "$title" || e2e_fail "the program does not start cleanly in its folder"

file_has() {
    grep -q "$(printf '%s\xb3' "$1")" "$program/fnames.dat"
}

add() {
    e2e_add_name "$win" "$1"
    e2e_wait_for 30 file_has "$1" || e2e_fail "$1 did not reach fnames.dat"
    printf '%s\xb3\r\n' "$1" >>"$E2E_TMP/fnames.expected"
}

# An editor saves the file: the whole text into a new file, renamed over it.
{ cat "$program/fnames.dat" && printf 'Zyxeditor\xb3\r\n'; } >"$program/.fnames.dat.swp"
mv "$program/.fnames.dat.swp" "$program/fnames.dat"
printf 'Zyxeditor\xb3\r\n' >>"$E2E_TMP/fnames.expected"
add Zyxprogramm
cmp "$program/fnames.dat" "$E2E_TMP/fnames.expected" || e2e_fail "after the editor's save: $(tail -c 60 "$program/fnames.dat" | od -c)"

# Another program appends to it in place.
printf 'Zyxanhang\xb3\r\n' >>"$program/fnames.dat"
printf 'Zyxanhang\xb3\r\n' >>"$E2E_TMP/fnames.expected"
add Zyxzwei
cmp "$program/fnames.dat" "$E2E_TMP/fnames.expected" || e2e_fail "after the append: $(tail -c 60 "$program/fnames.dat" | od -c)"
e2e_screenshot "$E2E_ARTIFACTS/outside_edit.png"

e2e_close "$win"
e2e_wait_exit "$pid"
[ "$E2E_RC" = 0 ] || e2e_fail "exit code $E2E_RC"
[ -s "$program/tavolin.ini" ] || e2e_fail "no tavolin.ini in the program's folder"
files=$(cd "$program" && ls -A | tr '\n' ' ')
[ "$files" = "fnames.dat mnames.dat tavolin tavolin.ini " ] || e2e_fail "the program folder holds: $files"
echo "ok: in a folder named with byte E4, the editor's names and the program's are all in fnames.dat"
