#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs a test program under Wine in
# the prefix PREFIX, which the first run prepares (scripts/wine-env).
#   wine_run.sh PREFIX PROGRAM [ARGUMENTS...]
#   wine_run.sh --stop PREFIX      ends the prefix's wineserver
# Wine's own processes (the server, explorer, services) stay up for the next
# test program; they are started with no output of the test's, which CTest
# would otherwise wait on until they end.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ "$1" = --stop ]; then
    exec "$root/scripts/wine-env" --stop "$2"
fi
prefix=$1
shift
mkdir -p "$prefix"
{
    # Two tests at once prepare the prefix one after the other; Wine's
    # processes that outlive this must not hold the lock.
    flock 9
    # shellcheck source=../../scripts/wine-env
    source "$root/scripts/wine-env" "$prefix" >/dev/null 2>&1 </dev/null 9>&-
    # The session's processes start with the first program; a program of
    # Wine's own starts them here, away from the test's output.
    wine cmd /c exit >/dev/null 2>&1 </dev/null 9>&-
} 9>"$prefix.lock"
exec wine "$@"
