#!/usr/bin/env bash
# Installs the built program with cmake --install into temporary prefixes and
# checks what lands where: in the player's home the stripped program with its
# two databases in a folder of its own, a link to it in bin/, the menu entry
# and the icon in every size; a second install keeps the player's databases
# and settings, also where they are links, and drops the menu entry of a
# version that named it tavolin. Elsewhere the program goes to bin/.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR [CMAKE]
set -euo pipefail
build=$1
source=$2
cmake=${3:-cmake}

id=io.github.tavolin.Tavolin
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

install_into() { # prefix [DESTDIR] [HOME]
    DESTDIR=${2:-} HOME=${3:-$HOME} "$cmake" --install "$build" --prefix "$1" >"$tmp/install.log" 2>&1 || {
        cat "$tmp/install.log"
        echo "FAIL: cmake --install --prefix $1"
        exit 1
    }
}

same() { # file, expected file, what
    cmp -s "$1" "$2" || fail "$3: $1 differs from $2"
}

# The entry's value for a key, exactly as written.
entry() { # desktop file, key
    sed -n "s/^$2=//p" "$1"
}

stripped() { # program
    file "$1" | grep -q ', stripped' || fail "$1 is not stripped"
}

check_layout() { # root (DESTDIR + prefix), expected Exec value
    local root=$1 exec=$2
    local dir=$root/share/tavolin
    [ -x "$dir/tavolin" ] || fail "no program in $dir"
    stripped "$dir/tavolin"
    same "$dir/fnames.dat" "$source/data/fnames.dat" "female database"
    same "$dir/mnames.dat" "$source/data/mnames.dat" "male database"
    [ ! -e "$dir/tavolin.ini" ] || fail "a tavolin.ini was installed"
    [ "$(cd "$dir" && ls -A | tr '\n' ' ')" = "fnames.dat mnames.dat tavolin " ] ||
        fail "the program folder holds $(ls -A "$dir" | tr '\n' ' ')"
    same "$root/share/icons/hicolor/scalable/apps/$id.svg" "$source/src/app/tavolin.svg" "icon"
    grep -q '<svg' "$root/share/icons/hicolor/scalable/apps/$id.svg" || fail "the icon is no SVG"
    local size
    for size in 16 22 24 32 48 64 128 256; do
        file "$root/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size," ||
            fail "no icon of $size pixels"
    done

    local desktop=$root/share/applications/$id.desktop
    [ -f "$desktop" ] || {
        fail "no menu entry"
        return
    }
    [ "$(head -n 1 "$desktop")" = "[Desktop Entry]" ] || fail "the menu entry does not begin with its group"
    local key expected
    while IFS='|' read -r key expected; do
        [ "$(entry "$desktop" "$key")" = "$expected" ] ||
            fail "$key is '$(entry "$desktop" "$key")', not '$expected'"
    done <<ROWS
Type|Application
Name|Tavolin
Exec|$exec
Icon|$id
Terminal|false
StartupWMClass|Tavolin
Categories|Utility;
ROWS
    grep -q '^Comment=.*Wuzel' "$desktop" || fail "no German comment"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" | grep -v 'hint:' | grep . && fail "desktop-file-validate"
    fi
    return 0
}

# A home folder with a blank in its name: the entry must quote the path.
home="$tmp/home of player"
prefix=$home/.local
install_into "$prefix" "" "$home"
check_layout "$prefix" "\"$prefix/share/tavolin/tavolin\""
[ "$(readlink "$prefix/bin/tavolin")" = ../share/tavolin/tavolin ] || fail "bin/tavolin is no link to the program"

# The player adds a name and keeps a look; then an update is installed.
dir=$prefix/share/tavolin
printf 'Zyxwanda\xb3\r\n' >>"$dir/fnames.dat"
printf 'Zyxwalter\xb3\r\n' >>"$dir/mnames.dat"
printf '%s\r\n' 0 0 0 Arial 10 255 255 255 192 192 192 192 192 192 >"$dir/tavolin.ini"
for file in fnames.dat mnames.dat tavolin.ini; do cp "$dir/$file" "$tmp/$file.player"; done
echo 'an older program' >"$dir/tavolin"
printf '[Desktop Entry]\nExec="%s"\n' "$dir/tavolin" >"$prefix/share/applications/tavolin.desktop"
cp "$source/src/app/tavolin.svg" "$prefix/share/icons/hicolor/scalable/apps/tavolin.svg"
install_into "$prefix" "" "$home"
for file in fnames.dat mnames.dat tavolin.ini; do same "$dir/$file" "$tmp/$file.player" "after an update"; done
grep -q "Kept: $dir/fnames.dat" "$tmp/install.log" || fail "the install does not say it kept fnames.dat"
stripped "$dir/tavolin"
[ ! -e "$prefix/share/applications/tavolin.desktop" ] && [ ! -e "$prefix/share/icons/hicolor/scalable/apps/tavolin.svg" ] ||
    fail "the menu entry or icon of an older version stays"

# A database the player removed comes back as the default; the other stays.
rm "$dir/mnames.dat"
install_into "$prefix" "" "$home"
same "$dir/mnames.dat" "$source/data/mnames.dat" "restored male database"
same "$dir/fnames.dat" "$tmp/fnames.dat.player" "female database beside a restored one"

# A database that is a link stays one, also when its file is not there (a
# sync folder not mounted): neither an install nor a rebuild replaces it.
mkdir "$tmp/sync"
printf 'Zyxwalda\xb3\r\n' >"$tmp/sync/fnames.dat"
rm "$dir/fnames.dat" "$dir/mnames.dat"
ln -s "$tmp/sync/fnames.dat" "$dir/fnames.dat"
ln -s "$tmp/unmounted/mnames.dat" "$dir/mnames.dat"
install_into "$prefix" "" "$home"
copy_if_missing() { # database
    "$cmake" -DSRC="$source/data/$1" -DDST="$dir/$1" -P "$source/cmake/CopyIfMissing.cmake"
}
copy_if_missing fnames.dat
copy_if_missing mnames.dat
[ "$(readlink "$dir/fnames.dat")" = "$tmp/sync/fnames.dat" ] || fail "the link fnames.dat was replaced"
[ "$(readlink "$dir/mnames.dat")" = "$tmp/unmounted/mnames.dat" ] || fail "the dangling link mnames.dat was replaced"
[ ! -e "$tmp/unmounted" ] || fail "the missing sync folder was created"
printf 'Zyxwalda\xb3\r\n' | cmp -s - "$tmp/sync/fnames.dat" || fail "the linked database was overwritten"

# Outside the home, staged for a package: files under DESTDIR, the entry
# naming the final place. scripts/package's test checks the rest.
install_into /opt/tavolin "$tmp/stage" "$home"
stripped "$tmp/stage/opt/tavolin/bin/tavolin"
[ "$(entry "$tmp/stage/opt/tavolin/share/applications/$id.desktop" Exec)" = /opt/tavolin/bin/tavolin ] ||
    fail "the system-wide menu entry does not start /opt/tavolin/bin/tavolin"

# One part alone: the databases, nothing else.
DESTDIR=$tmp/data "$cmake" --install "$build" --prefix "$home/part" --component Data >"$tmp/install.log"
[ "$(cd "$tmp/data$home/part" && find . -type f | sort | tr '\n' ' ')" = "./share/tavolin/fnames.dat ./share/tavolin/mnames.dat " ] ||
    fail "the part Data holds $(find "$tmp/data" -type f)"

if [ "$failures" -ne 0 ]; then
    echo "$failures failures"
    exit 1
fi
echo "ok: installed, updated with the player's files kept, restored, links kept, staged system-wide"
