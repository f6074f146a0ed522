#!/usr/bin/env bash
# A name added by mistake is taken out again through the real menu of the
# new-name field, after the question is answered "Ja"; the menu's undo puts
# it back. The rest of the file stays byte for byte.
# Usage: remove_name.sh TAVOLIN_EXECUTABLE DATA_DIR ARTIFACT_DIR
set -euo pipefail
exe=$1
data=$2
E2E_ARTIFACTS=$3
source "$(dirname "$0")/lib.sh"
e2e_need_tools
e2e_start

program=$E2E_TMP/program
mkdir -p "$program"
cp "$exe" "$program/tavolin"
cp "$data/fnames.dat" "$data/mnames.dat" "$program/"
"$program/tavolin" &
pid=$!
E2E_PIDS+=("$pid")
win=$(e2e_wait_window "$pid" "$E2E_TITLE") || e2e_fail "no window titled '$E2E_TITLE'"

file_has() { grep -q "$(printf 'Zyxfehler\xb3')" "$program/fnames.dat"; }
file_lacks() { ! file_has; }
e2e_add_name "$win" Zyxfehler
e2e_wait_for 30 file_has || e2e_fail "Zyxfehler did not reach fnames.dat"

e2e_edit_menu "$pid" "$win" 226 298 2 # "Aus der Namen-Datenbank entfernen"
e2e_answer "$pid" "Name entfernen" alt+j
e2e_wait_for 30 file_lacks || e2e_fail "Zyxfehler is still in fnames.dat"
cmp "$program/fnames.dat" "$data/fnames.dat" || e2e_fail "the file changed beyond the name"

e2e_edit_menu "$pid" "$win" 226 298 1 # the undo
e2e_wait_for 30 file_has || e2e_fail "the undo did not bring Zyxfehler back"
e2e_wait_for 5 e2e_only_windows "$pid" "$E2E_TITLE" || e2e_fail "a menu or box stays on screen"
e2e_screenshot "$E2E_ARTIFACTS/remove_name.png"
e2e_close "$win"
e2e_wait_exit "$pid"
[ "$E2E_RC" = 0 ] || e2e_fail "exit code $E2E_RC"
echo "ok: a name is taken out through the menu of Edit2 and put back by its undo"
