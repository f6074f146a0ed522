#!/usr/bin/env bash
# Two copies of the real program on one program folder, used in turns as two
# players on a shared folder would: A adds, B adds, A adds, B tries A's name
# and is told it is there already, B adds, A merges a foreign database of
# 1,000 names, B adds again. Then both windows are closed, and the female
# database must hold every name of both, byte for byte, in the order they
# were saved.
# Usage: two_copies.sh TAVOLIN_EXECUTABLE DATA_DIR ARTIFACT_DIR
set -euo pipefail
exe=$1
data=$2
E2E_ARTIFACTS=$3
source "$(dirname "$0")/lib.sh"
e2e_need_tools
e2e_start

title='Tavolin 4.4 by Zendrik'
program=$E2E_TMP/program
work=$E2E_TMP/work # both copies' working folder, where the open dialog starts
mkdir -p "$program" "$work"
cp "$exe" "$program/tavolin"
cp "$data/fnames.dat" "$data/mnames.dat" "$program/"
cp "$program/fnames.dat" "$E2E_TMP/fnames.expected"
for i in $(seq -w 1000); do printf 'Zyxm%s\xb3\r\n' "$i"; done >"$work/fremd.dat"

(cd "$work" && exec "$program/tavolin") &
pid_a=$!
E2E_PIDS+=("$pid_a")
win_a=$(e2e_wait_window "$pid_a" "$title") || e2e_fail "copy A shows no window"
(cd "$work" && exec "$program/tavolin") &
pid_b=$!
E2E_PIDS+=("$pid_b")
win_b=$(e2e_wait_window "$pid_b" "$title") || e2e_fail "copy B shows no window"

# The two windows may lie on top of each other: the one used comes first.
use() {
    xdotool windowactivate --sync "$1"
}

file_has() {
    grep -q "$(printf '%s\xb3' "$1")" "$program/fnames.dat"
}

# Adds a female name in a copy: Edit2 (156, 288, 140 x 21) takes the name in
# place of what it holds, Button2 (107, 336, 239 x 25) adds it.
add() {
    local win=$1 name=$2
    use "$win"
    e2e_click "$win" 226 298
    e2e_key ctrl+a
    e2e_type "$name"
    e2e_click "$win" 226 348
    e2e_wait_for 30 file_has "$name" || e2e_fail "$name did not reach fnames.dat"
    printf '%s\xb3\r\n' "$name" >>"$E2E_TMP/fnames.expected"
}

add "$win_a" Zyxalpha
add "$win_b" Zyxbeta
add "$win_a" Zyxgamma

# Copy B has not seen Zyxgamma, so its button offers to add it; the click
# finds it in the file.
use "$win_b"
e2e_click "$win_b" 226 298
e2e_key ctrl+a
e2e_type Zyxgamma
e2e_click "$win_b" 226 348
e2e_wait_window "$pid_b" "Bereits vorhanden" >/dev/null || e2e_fail "copy B does not find the name copy A added"
e2e_key Return
e2e_wait_gone "$pid_b" "Bereits vorhanden" || e2e_fail "the box did not close"
add "$win_b" Zyxdelta

# Copy A loads the foreign database with Button5 (0, 400, 105 x 25) and
# merges it into the female database (preselected) with Button6 (176, 464).
use "$win_a"
e2e_click "$win_a" 52 412
e2e_wait_window "$pid_a" "Wuzelnamen-Datenbank öffnen" >/dev/null || e2e_fail "no open dialog"
e2e_type fremd.dat
e2e_key Return
e2e_wait_gone "$pid_a" "Wuzelnamen-Datenbank öffnen" || e2e_fail "the open dialog did not close"
no_popup() { ! e2e_windows "$pid_a" | cut -f 2 | grep -qx popup; }
if ! e2e_wait_for 2 no_popup; then
    e2e_click "$win_a" 300 412 # a completion list left behind takes one click
    e2e_wait_for 10 no_popup || e2e_fail "a popup of the open dialog stays"
fi
e2e_click "$win_a" 268 476
e2e_wait_window "$pid_a" "Erfolgreich" >/dev/null || e2e_fail "the merge reports no success"
e2e_key Return
e2e_wait_gone "$pid_a" "Erfolgreich" || e2e_fail "the success box did not close"
cat "$work/fremd.dat" >>"$E2E_TMP/fnames.expected"

# Copy B has seen none of A's names yet and keeps all of them.
add "$win_b" Zyxepsilon
e2e_screenshot "$E2E_ARTIFACTS/two_copies.png"

for copy in "$pid_a:$win_a" "$pid_b:$win_b"; do
    pid=${copy%%:*}
    e2e_close "${copy#*:}"
    ended() { ! kill -0 "$pid" 2>/dev/null; }
    e2e_wait_for 30 ended || e2e_fail "copy $pid is still running after its window was closed"
    rc=0
    wait "$pid" || rc=$?
    [ "$rc" = 0 ] || e2e_fail "copy $pid ended with exit code $rc"
done

cmp "$program/fnames.dat" "$E2E_TMP/fnames.expected" ||
    e2e_fail "fnames.dat: $(diff <(tr '\263' '\n' <"$E2E_TMP/fnames.expected") <(tr '\263' '\n' <"$program/fnames.dat") | head)"
cmp -s "$program/mnames.dat" "$data/mnames.dat" || e2e_fail "mnames.dat changed"
files=$(cd "$program" && ls -A | tr '\n' ' ')
[ "$files" = "fnames.dat mnames.dat tavolin tavolin.ini " ] || e2e_fail "the program folder holds: $files"
echo "ok: two copies, four adds, a merge of 1,000 names and one more add: every name is in fnames.dat"
