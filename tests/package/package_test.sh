#!/usr/bin/env bash
# Builds the Debian package with scripts/package and checks it as a
# distribution would: its files and fields, a stripped program, the menu
# entry, the metainfo, the licences and lintian.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
source=$2
deb=$build/tavolin_$3_amd64.deb
id=io.github.tavolin.Tavolin
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
-rw-r--r-- root/root ./usr/share/applications/$id.desktop
-rw-r--r-- root/root ./usr/share/doc/tavolin/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/tavolin/copyright
$(for size in 128 16 22 24 256 32 48 64; do echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/${size}x$size/apps/$id.png"; done)
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/$id.svg
-rw-r--r-- root/root ./usr/share/lintian/overrides/tavolin
-rw-r--r-- root/root ./usr/share/man/man1/tavolin.1.gz
-rw-r--r-- root/root ./usr/share/metainfo/$id.metainfo.xml
-rw-r--r-- root/root ./usr/share/tavolin/fnames.dat
-rw-r--r-- root/root ./usr/share/tavolin/mnames.dat
-rwxr-xr-x root/root ./usr/bin/tavolin
FILES
dpkg-deb -x "$deb" "$tmp/root"
cmp "$tmp/root/usr/share/tavolin/fnames.dat" "$source/data/fnames.dat" || fail "not the shipped databases"
file "$tmp/root/usr/bin/tavolin" | grep -q ', stripped' || fail "the program is not stripped"
# What the program cannot do without (the icon's SVG engine), and what it
# runs without: recommended only.
has() { # field, package
    [[ ", $(dpkg-deb -f "$deb" "$1")," == *", $2"[\ ,]* ]]
}
for package in libqt6widgets6 libqt6svg6; do has Depends $package || fail "Depends lacks $package"; done
for package in qt6-translations-l10n fonts-liberation2 qt6-wayland; do
    has Recommends $package && ! has Depends $package || fail "$package is not just recommended"
done
readelf -d "$tmp/root/usr/bin/tavolin" | grep -q 'FLAGS.*BIND_NOW' || fail "not linked with -z now"
grep -q 'gender-detection-from-name' "$tmp/root/usr/share/doc/tavolin/copyright" &&
    grep -q 'Lesser General Public License' "$tmp/root/usr/share/doc/tavolin/copyright" ||
    fail "the copyright lacks the names' origin or Qt's licence"
dpkg-deb -f "$deb" Maintainer Description | grep -q 'Vornamen' || fail "no German description"
grep -qx 'Exec=/usr/bin/tavolin' "$tmp/root/usr/share/applications/$id.desktop" || fail "Exec"
desktop-file-validate "$tmp/root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate-tree --no-net "$tmp/root" || fail "appstreamcli validate-tree"
appstreamcli validate --no-net --pedantic "$tmp/root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
lintian --pedantic --fail-on error,warning,info,pedantic "$deb" || fail "lintian"
echo "ok: $(basename "$deb"), $(stat -c %s "$deb") bytes, menu entry and metainfo valid, lintian clean"
