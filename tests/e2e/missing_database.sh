#!/usr/bin/env bash
# Starts the real program under a virtual X server with a database missing,
# answers its error boxes with the keyboard, and checks that it ends with exit
# code 0 without writing anything into its folder. One case runs under
# openbox, the other without a window manager.
# Usage: missing_database.sh TAVOLIN_EXECUTABLE DATA_DIR [ARTIFACT_DIR]
set -euo pipefail
exe=$1
data=$2
source "$(dirname "$0")/lib.sh"
E2E_ARTIFACTS=${3:-}
e2e_need_tools

box_gone() {
    ! e2e_windows "$1" | cut -f 1 | grep -qx "$2"
}

check() { # name, window manager mode, files to put beside the program, number of boxes
    local name=$1 mode=$2 files=$3 boxes=$4
    e2e_start $mode
    local dir=$E2E_TMP/program
    mkdir "$dir"
    cp "$exe" "$dir/tavolin"
    for file in $files; do cp "$data/$file" "$dir/"; done
    local before
    before=$(cd "$dir" && ls -A && sha256sum -- *)

    "$dir/tavolin" &
    local pid=$! box i
    E2E_PIDS+=("$pid")
    for ((i = 0; i < boxes; i++)); do
        box=$(e2e_wait_window "$pid" Fehler 20) || e2e_fail "$name: no box"
        # No other window: the main window never opens.
        e2e_only_windows "$pid" Fehler || e2e_fail "$name: another window beside the box"
        e2e_focus "$box"
        e2e_key Return
        # The next box, with the same title, appears only after this one has gone.
        e2e_wait_for 10 box_gone "$pid" "$box" || e2e_fail "$name: the box stays"
    done
    ended() { ! kill -0 "$pid" 2>/dev/null; }
    e2e_wait_for 10 ended || e2e_fail "$name: still running"
    local rc=0
    wait "$pid" || rc=$?
    [ "$rc" = 0 ] || e2e_fail "$name: exit code $rc"
    [ "$(cd "$dir" && ls -A && sha256sum -- *)" = "$before" ] || e2e_fail "$name: the program folder changed"
    e2e_stop
    echo "ok $name"
}

check "female database missing" "" mnames.dat 1
check "both databases missing, no window manager" --no-wm "" 2
