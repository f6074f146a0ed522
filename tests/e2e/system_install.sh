#!/usr/bin/env bash
# Installs the program system-wide into a prefix that the user may not write
# to and starts it from PATH as an ordinary user (when run by root: as
# nobody). The first start copies the shipped databases into the user's
# ~/.local/share/tavolin, where the name added and, at close, tavolin.ini
# land; the prefix stays as installed. A start with XDG_DATA_HOME set keeps
# its files there.
# Usage: system_install.sh BUILD_DIR DATA_DIR [ARTIFACT_DIR] [CMAKE]
set -euo pipefail
build=$1
data=$2
source "$(dirname "$0")/lib.sh"
E2E_ARTIFACTS=${3:-}
cmake=${4:-cmake}
e2e_need_tools setpriv
e2e_start
title='Tavolin 4.4 by Zendrik'

prefix=$E2E_TMP/usr
home=$E2E_TMP/home
mkdir -m 700 "$home" "$home/run"
# Outside the installing user's home: the system-wide layout.
HOME=$home "$cmake" --install "$build" --prefix "$prefix" >"$E2E_TMP/install.log" || e2e_fail "$(cat "$E2E_TMP/install.log")"
chmod -R a-w "$prefix"
trap 'chmod -R u+w "$prefix"; e2e_stop' EXIT
chmod 755 "$E2E_TMP"
as_user=()
if [ "$(id -u)" = 0 ]; then
    chown 65534:65534 "$home" "$home/run"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
prefix_state() {
    (cd "$prefix" && find . -printf '%p %M %u\n' | sort && find . -type f -exec sha256sum {} + | sort)
}
installed=$(prefix_state)

start() { # [XDG_DATA_HOME]
    "${as_user[@]}" env -u XDG_DATA_HOME ${1:+XDG_DATA_HOME="$1"} HOME="$home" XDG_RUNTIME_DIR="$home/run" \
        PATH="$prefix/bin:$PATH" tavolin &
    pid=$!
    E2E_PIDS+=("$pid")
    win=$(e2e_wait_window "$pid" "$title" 60) || e2e_fail "no window titled '$title'"
}
ended() { ! kill -0 "$pid" 2>/dev/null; }
close() {
    e2e_close "$win"
    e2e_wait_for 30 ended || e2e_fail "the program is still running after its window was closed"
    wait "$pid" || e2e_fail "exit code $?"
}

start
files=$home/.local/share/tavolin
{ cat "$data/fnames.dat" && printf 'Zyxwanda\xb3\r\n'; } >"$E2E_TMP/fnames.expected"
# Edit2 (156, 288, 140 x 21), then Button2 (107, 336, 239 x 25).
e2e_click "$win" 226 298
e2e_type Zyxwanda
e2e_click "$win" 226 348
e2e_wait_for 30 cmp -s "$files/fnames.dat" "$E2E_TMP/fnames.expected" || e2e_fail "the name is not in $files/fnames.dat"
[ -n "$E2E_ARTIFACTS" ] && e2e_screenshot "$E2E_ARTIFACTS/system_install.png"
close
cmp "$files/mnames.dat" "$data/mnames.dat" || e2e_fail "mnames.dat is no copy of the shipped one"
[ "$(cd "$files" && ls -A | tr '\n' ' ')" = "fnames.dat mnames.dat tavolin.ini " ] ||
    e2e_fail "$files holds: $(ls -A "$files")"
[ "$(stat -c %u "$files/tavolin.ini")" = "$(stat -c %u "$home")" ] || e2e_fail "tavolin.ini is not the user's"
[ "$(prefix_state)" = "$installed" ] || e2e_fail "the prefix changed"

start "$home/data"
close
cmp "$home/data/tavolin/fnames.dat" "$data/fnames.dat" || e2e_fail "no copy in \$XDG_DATA_HOME/tavolin"
[ -f "$home/data/tavolin/tavolin.ini" ] || e2e_fail "no tavolin.ini in \$XDG_DATA_HOME/tavolin"
cmp -s "$files/fnames.dat" "$E2E_TMP/fnames.expected" || e2e_fail "the first folder changed"
echo "ok: a user's names and settings land in ~/.local/share/tavolin, or in \$XDG_DATA_HOME/tavolin"
