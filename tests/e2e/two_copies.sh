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

title=$E2E_TITLE
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

# Adds a female name in a copy.
add() {
    use "$1"
    e2e_add_name "$1" "$2"
    e2e_wait_for 30 file_has "$2" || e2e_fail "$2 did not reach fnames.dat"
    printf '%s\xb3\r\n' "$2" >>"$E2E_TMP/fnames.expected"
}

add "$win_a" Zyxalpha
add "$win_b" Zyxbeta
add "$win_a" Zyxgamma

# Copy B has not seen Zyxgamma, so its button offers to add it; the click
# finds it in the file.
use "$win_b"
e2e_add_name "$win_b" Zyxgamma
e2e_answer "$pid_b" "Bereits vorhanden"
add "$win_b" Zyxdelta

# Copy A loads the foreign database and merges it into the female database
# (preselected).
use "$win_a"
e2e_load_database "$pid_a" "$win_a" fremd.dat
e2e_merge "$win_a"
e2e_answer "$pid_a" "Erfolgreich"
cat "$work/fremd.dat" >>"$E2E_TMP/fnames.expected"

# Copy B has seen none of A's names yet and keeps all of them.
add "$win_b" Zyxepsilon
e2e_screenshot "$E2E_ARTIFACTS/two_copies.png"

for copy in "$pid_a:$win_a" "$pid_b:$win_b"; do
    e2e_close "${copy#*:}"
    e2e_wait_exit "${copy%%:*}"
    [ "$E2E_RC" = 0 ] || e2e_fail "copy ${copy%%:*} ended with exit code $E2E_RC"
done

cmp "$program/fnames.dat" "$E2E_TMP/fnames.expected" ||
    e2e_fail "fnames.dat: $(diff <(tr '\263' '\n' <"$E2E_TMP/fnames.expected") <(tr '\263' '\n' <"$program/fnames.dat") | head)"
cmp -s "$program/mnames.dat" "$data/mnames.dat" || e2e_fail "mnames.dat changed"
files=$(cd "$program" && ls -A | tr '\n' ' ')
[ "$files" = "fnames.dat mnames.dat tavolin tavolin.ini " ] || e2e_fail "the program folder holds: $files"
echo "ok: two copies, four adds, a merge of 1,000 names and one more add: every name is in fnames.dat"
