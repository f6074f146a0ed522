#!/usr/bin/env bash
# A system-wide install into a prefix the user may not write to, started from
# PATH by an ordinary user (under root: nobody). The shipped databases are
# copied into ~/.local/share/tavolin, where the name added lands; tavolin.ini
# moves from there into $XDG_CONFIG_HOME/tavolin, unless one is there
# already. With XDG_DATA_HOME set, the names go there. A copied name reaches
# X11's selection too, and the window's class holds no version.
# Usage: system_install.sh BUILD_DIR DATA_DIR [ARTIFACT_DIR] [CMAKE]
set -euo pipefail
build=$1
data=$2
source "$(dirname "$0")/lib.sh"
E2E_ARTIFACTS=${3:-}
e2e_need_tools setpriv xclip xprop
e2e_start
prefix=$E2E_TMP/usr home=$E2E_TMP/home
mkdir -m 700 "$home" "$home/run"
files=$home/.local/share/tavolin config=$home/config/tavolin
mkdir -p "$files" "$home/data/tavolin"
printf '%s\r\n' 0 0 0 Arial 10 255 255 255 192 192 192 192 192 192 >"$files/tavolin.ini"
printf 'an older look\r\n' | tee "$E2E_TMP/old.ini" >"$home/data/tavolin/tavolin.ini"
# A prefix outside the installing user's home gets the system-wide layout.
HOME=$home "${4:-cmake}" --install "$build" --prefix "$prefix" >"$E2E_TMP/log" || e2e_fail "$(cat "$E2E_TMP/log")"
chmod -R a-w "$prefix" && chmod 755 "$E2E_TMP"
trap 'chmod -R u+w "$prefix"; e2e_stop' EXIT
as_user=()
if [ "$(id -u)" = 0 ]; then
    chown -R 65534:65534 "$home"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
ended() { ! kill -0 "$pid" 2>/dev/null; }
run() { # XDG_DATA_HOME or nothing, then what to do with the window[, XDG_CONFIG_HOME]
    "${as_user[@]}" env -u XDG_DATA_HOME ${1:+XDG_DATA_HOME="$1"} HOME="$home" XDG_RUNTIME_DIR="$home/run" \
        XDG_CONFIG_HOME="${3:-$home/config}" PATH="$prefix/bin:$PATH" tavolin &
    pid=$!
    E2E_PIDS+=("$pid")
    win=$(e2e_wait_window "$pid" "$E2E_TITLE" 60) || e2e_fail "no window"
    "$2"
    e2e_close "$win"
    e2e_wait_for 30 ended || e2e_fail "still running after its window was closed"
    wait "$pid" || e2e_fail "exit code $?"
}

{ cat "$data/fnames.dat" && printf 'Zyxwanda\xb3\r\n'; } >"$E2E_TMP/fnames.expected"
add_name() { # into Edit2 (156, 288, 140 x 21), then Button2 (107, 336, 239 x 25)
    e2e_click "$win" 226 298
    e2e_type Zyxwanda
    e2e_click "$win" 226 348
    e2e_wait_for 30 cmp -s "$files/fnames.dat" "$E2E_TMP/fnames.expected" || e2e_fail "the name is not in $files"
    [ -z "$E2E_ARTIFACTS" ] || e2e_screenshot "$E2E_ARTIFACTS/system_install.png"
    # Button1 (29, 8, 226 x 25) draws, Button3 (29, 64, 226 x 17) copies.
    printf 'leer' | xclip -i -selection primary
    printf 'leer' | xclip -i -selection clipboard
    e2e_click "$win" 142 20
    e2e_click "$win" 142 72
    e2e_wait_for 30 primary_copied || e2e_fail "the selection holds '$(xclip -o -selection primary)'"
    xprop -id "$win" WM_CLASS | grep -qx 'WM_CLASS(STRING) = "tavolin", "Tavolin"' ||
        e2e_fail "$(xprop -id "$win" WM_CLASS)"
}
primary_copied() {
    local primary
    primary=$(xclip -o -selection primary 2>/dev/null) || return 1
    [ "$primary" != leer ] && [ "$primary" = "$(xclip -o -selection clipboard 2>/dev/null)" ]
}
run "" add_name
cmp "$files/mnames.dat" "$data/mnames.dat" || e2e_fail "mnames.dat is no copy of the shipped one"
[ "$(stat -c %U "$config/tavolin.ini")" = "$(stat -c %U "$home")" ] || e2e_fail "no tavolin.ini of the user's"
[ ! -e "$files/tavolin.ini" ] || e2e_fail "tavolin.ini was not moved out of $files"
run "$home/data" true
cmp "$home/data/tavolin/fnames.dat" "$data/fnames.dat" || e2e_fail "not in \$XDG_DATA_HOME/tavolin"
cmp "$home/data/tavolin/tavolin.ini" "$E2E_TMP/old.ini" || e2e_fail "a tavolin.ini beside a newer one was touched"
# Where the settings cannot move (a file in the way of their folder), the old
# ones stay in use: written at the close.
touch "$home/blocked" && run "$home/data" true "$home/blocked"
! cmp -s "$home/data/tavolin/tavolin.ini" "$E2E_TMP/old.ini" || e2e_fail "the unmoved tavolin.ini was not used"
echo "ok: names in ~/.local/share/tavolin or \$XDG_DATA_HOME/tavolin, settings moved to \$XDG_CONFIG_HOME/tavolin"
