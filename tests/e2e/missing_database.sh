#!/usr/bin/env bash
# Starts the real program under a virtual X server with a database missing,
# answers its error boxes with the keyboard, and checks that it ends with exit
# code 0 without writing anything into its folder.
# Usage: missing_database.sh TAVOLIN_EXECUTABLE DATA_DIR
set -euo pipefail
exe=$1
data=$2
if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
    echo "xvfb-run and xdotool are needed (scripts/test installs them)"
    exit 77
fi

check() { # name, files to put beside the program, number of boxes
    local name=$1 files=$2 boxes=$3
    local dir
    dir=$(mktemp -d)
    cp "$exe" "$dir/tavolin"
    for file in $files; do cp "$data/$file" "$dir/"; done
    local before
    before=$(cd "$dir" && ls -A && sha256sum -- *)

    local rc
    rc=$(xvfb-run -a bash -c '
        dir=$1 boxes=$2
        "$dir/tavolin" & pid=$!
        for ((i = 0; i < boxes; i++)); do
            win=$(timeout 20 xdotool search --sync --onlyvisible --name "^Fehler\$" | head -n 1)
            [ -n "$win" ] || { kill $pid; echo "no box"; exit 0; }
            xdotool windowfocus --sync "$win" key Return
            # the next box appears only after this one has gone
            for _ in $(seq 100); do xdotool search --onlyvisible --name "^Fehler\$" >/dev/null || break; sleep 0.1; done
        done
        for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
        if kill -0 $pid 2>/dev/null; then kill $pid; echo "still running"; exit 0; fi
        wait $pid; echo $?' _ "$dir" "$boxes")
    local after
    after=$(cd "$dir" && ls -A && sha256sum -- *)
    rm -rf "$dir"
    if [ "$rc" != 0 ]; then
        echo "FAIL $name: exit code '$rc'"
        return 1
    fi
    if [ "$before" != "$after" ]; then
        echo "FAIL $name: the program folder changed"
        return 1
    fi
    echo "ok $name"
}

check "female database missing" mnames.dat 1
check "both databases missing" "" 2
