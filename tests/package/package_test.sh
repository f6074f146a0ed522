#!/usr/bin/env bash
# Builds the Debian package with scripts/package and checks it as a
# distribution would: its files and fields, a stripped program, the menu
# entry, the metainfo and lintian.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
source=$2
deb=$build/tavolin_$3_amd64.deb
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

rm -f "$deb"
"$source/scripts/package" "$build" >"$tmp/log" 2>&1 || fail "scripts/package: $(cat "$tmp/log")"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $2, $6 }' | sort >"$tmp/files"
diff - "$tmp/files" <<FILES || fail "the package holds other files"
-rw-r--r-- root/root ./usr/share/applications/tavolin.desktop
-rw-r--r-- root/root ./usr/share/doc/tavolin/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/tavolin/copyright
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/tavolin.svg
-rw-r--r-- root/root ./usr/share/man/man1/tavolin.1.gz
-rw-r--r-- root/root ./usr/share/metainfo/org.example.tavolin.metainfo.xml
-rw-r--r-- root/root ./usr/share/tavolin/fnames.dat
-rw-r--r-- root/root ./usr/share/tavolin/mnames.dat
-rwxr-xr-x root/root ./usr/bin/tavolin
FILES
dpkg-deb -x "$deb" "$tmp/root"
cmp "$tmp/root/usr/share/tavolin/fnames.dat" "$source/data/fnames.dat" || fail "not the shipped databases"
file "$tmp/root/usr/bin/tavolin" | grep -q ', stripped' || fail "the program is not stripped"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 qt6-translations-l10n fonts-liberation2 qt6-wayland; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done
dpkg-deb -f "$deb" Maintainer Description | grep -q 'Vornamen' || fail "no German description"
grep -qx 'Exec=/usr/bin/tavolin' "$tmp/root/usr/share/applications/tavolin.desktop" || fail "Exec"
desktop-file-validate "$tmp/root/usr/share/applications/tavolin.desktop" || fail "desktop-file-validate"
appstreamcli validate-tree --no-net "$tmp/root" || fail "appstreamcli validate-tree"
lintian --fail-on error "$deb" || fail "lintian"
echo "ok: $(basename "$deb"), $(stat -c %s "$deb") bytes, menu entry and metainfo valid, no lintian error"
