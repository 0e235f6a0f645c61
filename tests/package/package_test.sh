#!/usr/bin/env bash
# Packs the build directory $1 as scripts/package does, into a temporary directory, and checks
# the package as a user's machine and Debian's tools see it.
set -euo pipefail
build=$(realpath "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" || {
  cat "$tmp/cpack.log"
  fail "cpack"
}
debs=("$tmp"/tarvik_*_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single tarvik_<version>_<arch>.deb"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
[ "$(basename "$deb")" = "tarvik_${version}_$(dpkg --print-architecture).deb" ] ||
  fail "file name $(basename "$deb")"

expected="./usr/bin/tarvik
./usr/bin/tarvik-check
./usr/share/applications/tarvik.desktop
./usr/share/doc/tarvik/changelog.gz
./usr/share/doc/tarvik/copyright
./usr/share/icons/hicolor/256x256/apps/tarvik.png
./usr/share/icons/hicolor/48x48/apps/tarvik.png
./usr/share/icons/hicolor/scalable/apps/tarvik.svg
./usr/share/man/man1/tarvik-check.1.gz
./usr/share/man/man1/tarvik.1.gz
./usr/share/metainfo/org.tarvik.Tarvik.metainfo.xml"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
[ "$files" = "$expected" ] || fail "files differ: $(diff <(echo "$expected") <(echo "$files"))"

# Without the shared libraries in Depends the program would install and then not start.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6widgets6 libsmbclient libssl3; do
  [[ $depends =~ (^|, )$library( |,|$) ]] || fail "Depends lacks $library: $depends"
done

lintian --fail-on error "$deb" || fail "lintian reports errors"

root=$tmp/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/tarvik.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Name=Проверка дисков' "$desktop" || fail "the desktop entry's name"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.tarvik.Tarvik.metainfo.xml" ||
  fail "appstreamcli validate"

check=$root/usr/bin/tarvik-check
[ "$("$check" --version | cut -d' ' -f1-2)" = "tarvik-check $version" ] ||
  fail "--version does not give the package's version $version"
help=$("$check" --help)
[[ $help == "Usage: tarvik-check "* ]] || fail "--help: $help"
# The manual page must be this --help: every long option it lists.
page=$(zcat "$root/usr/share/man/man1/tarvik-check.1.gz")
for option in $(grep -o -- '--[a-z]\+' <<<"$help" | sort -u); do
  grep -qF -- "${option//-/\\-}" <<<"$page" || fail "the manual page lacks $option"
done
echo "package ok: $(basename "$deb")"
