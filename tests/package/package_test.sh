#!/usr/bin/env bash
# Builds the Debian package with scripts/package and checks it as a
# distribution would: its files and fields, a stripped program, the menu
# entry (desktop-file-validate), the metainfo (appstreamcli) and lintian.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
source=$2
version=$3
for tool in lintian appstreamcli desktop-file-validate dpkg-shlibdeps file; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is needed (scripts/test installs it)"; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

deb=$build/tavolin_${version}_amd64.deb
rm -f "$deb"
"$source/scripts/package" "$build" >"$tmp/package.log" 2>&1 || { cat "$tmp/package.log"; fail "scripts/package"; exit 1; }
[ -f "$deb" ] || { fail "no $deb"; exit 1; }

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $2, $6 }' | sort >"$tmp/files"
cat >"$tmp/expected" <<FILES
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
diff "$tmp/expected" "$tmp/files" || fail "the package holds other files"

dpkg-deb -x "$deb" "$tmp/root"
for database in fnames.dat mnames.dat; do
    cmp -s "$tmp/root/usr/share/tavolin/$database" "$source/data/$database" || fail "$database is not the shipped one"
done
file "$tmp/root/usr/bin/tavolin" | grep -q ', stripped' || fail "the program is not stripped"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 qt6-translations-l10n fonts-liberation2 qt6-wayland; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done
dpkg-deb -f "$deb" Maintainer Description | grep -q 'Vornamen' || fail "no German description"

desktop=$tmp/root/usr/share/applications/tavolin.desktop
grep -qx 'Exec=/usr/bin/tavolin' "$desktop" || fail "the menu entry does not start /usr/bin/tavolin"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate-tree --no-net "$tmp/root" || fail "appstreamcli validate-tree"
lintian --fail-on error "$deb" || fail "lintian"

if [ "$failures" -ne 0 ]; then
    echo "$failures failures"
    exit 1
fi
echo "ok: $(basename "$deb"), $(stat -c %s "$deb") bytes, valid menu entry and metainfo, lintian clean"
