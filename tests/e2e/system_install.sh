#!/usr/bin/env bash
# A system-wide install into a prefix the user may not write to, started from
# PATH by an ordinary user (under root: nobody). The shipped databases are
# copied into ~/.local/share/tavolin, where the name added and tavolin.ini
# land. With XDG_DATA_HOME set, the files go there.
# Usage: system_install.sh BUILD_DIR DATA_DIR [ARTIFACT_DIR] [CMAKE]
set -euo pipefail
build=$1
data=$2
source "$(dirname "$0")/lib.sh"
E2E_ARTIFACTS=${3:-}
e2e_need_tools setpriv
e2e_start
prefix=$E2E_TMP/usr home=$E2E_TMP/home
mkdir -m 700 "$home" "$home/run"
# A prefix outside the installing user's home gets the system-wide layout.
HOME=$home "${4:-cmake}" --install "$build" --prefix "$prefix" >"$E2E_TMP/log" || e2e_fail "$(cat "$E2E_TMP/log")"
chmod -R a-w "$prefix" && chmod 755 "$E2E_TMP"
trap 'chmod -R u+w "$prefix"; e2e_stop' EXIT
as_user=()
if [ "$(id -u)" = 0 ]; then
    chown 65534:65534 "$home" "$home/run"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
ended() { ! kill -0 "$pid" 2>/dev/null; }
run() { # XDG_DATA_HOME or nothing, then what to do with the window
    "${as_user[@]}" env -u XDG_DATA_HOME ${1:+XDG_DATA_HOME="$1"} HOME="$home" XDG_RUNTIME_DIR="$home/run" \
        PATH="$prefix/bin:$PATH" tavolin &
    pid=$!
    E2E_PIDS+=("$pid")
    win=$(e2e_wait_window "$pid" "$E2E_TITLE" 60) || e2e_fail "no window"
    "$2"
    e2e_close "$win"
    e2e_wait_for 30 ended || e2e_fail "still running after its window was closed"
    wait "$pid" || e2e_fail "exit code $?"
}

files=$home/.local/share/tavolin
{ cat "$data/fnames.dat" && printf 'Zyxwanda\xb3\r\n'; } >"$E2E_TMP/fnames.expected"
add_name() { # into Edit2 (156, 288, 140 x 21), then Button2 (107, 336, 239 x 25)
    e2e_click "$win" 226 298
    e2e_type Zyxwanda
    e2e_click "$win" 226 348
    e2e_wait_for 30 cmp -s "$files/fnames.dat" "$E2E_TMP/fnames.expected" || e2e_fail "the name is not in $files"
    [ -z "$E2E_ARTIFACTS" ] || e2e_screenshot "$E2E_ARTIFACTS/system_install.png"
}
run "" add_name
cmp "$files/mnames.dat" "$data/mnames.dat" || e2e_fail "mnames.dat is no copy of the shipped one"
[ "$(stat -c %U "$files/tavolin.ini")" = "$(stat -c %U "$home")" ] || e2e_fail "no tavolin.ini of the user's"
run "$home/data" true
[ -f "$home/data/tavolin/tavolin.ini" ] && cmp "$home/data/tavolin/fnames.dat" "$data/fnames.dat" ||
    e2e_fail "not in \$XDG_DATA_HOME/tavolin"
echo "ok: the user's names and settings are in ~/.local/share/tavolin, or in \$XDG_DATA_HOME/tavolin"
