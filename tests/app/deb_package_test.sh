#!/usr/bin/env bash
# deb_package_test.sh CPACK BUILD VERSION SOURCE: makes the Debian package of the build, unpacks it
# with dpkg-deb, checks what Debian wants of its files (man pages and changelog compressed
# without a name or time, the changelog of this version, a copyright statement, programs
# without symbols) and runs its programs on its own example.
set -euo pipefail
cpack=$1 build=$2 version=$3 source=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && "$cpack" -G DEB -B "$work/out") > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
deb="$work/out/zadaza2krano_${version}_amd64.deb"
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -f "$deb" Depends | grep -q 'libc6' ||
  { echo "no dependency on the C library: $(dpkg-deb -f "$deb" Depends)"; exit 1; }

usr="$work/root/usr"
doc="$usr/share/doc/zadaza2krano"
# gzip -n: no file name (flag 08) and no time in the header, so the same text gives the same bytes.
gzipped_without_name() {
  local header
  header=$(od -An -tx1 -j3 -N5 "$1" | tr -d ' ')
  [ $((0x${header:0:2} & 0x08)) = 0 ] && [ "${header:2}" = 00000000 ]
}
for page in zadaza2krano zadaza-make zadaza-view; do
  gzipped="$usr/share/man/man1/$page.1.gz"
  test -f "$gzipped" || { echo "man page $page.1.gz missing"; exit 1; }
  gzip -dc "$gzipped" | cmp -s - "$source/man/$page.1" ||
    { echo "man page $page.1.gz is not man/$page.1"; exit 1; }
  gzipped_without_name "$gzipped" || { echo "$page.1.gz carries a name or a time"; exit 1; }
done
gzipped_without_name "$doc/changelog.gz" || { echo "changelog.gz carries a name or a time"; exit 1; }
[ "$(gzip -dc "$doc/changelog.gz" | head -n 1)" = "zadaza2krano ($version) unstable; urgency=medium" ] ||
  { echo "changelog.gz does not begin with version $version"; exit 1; }
head -n 1 "$doc/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' ||
  { echo "no machine-readable copyright file"; exit 1; }
for program in zadaza2krano zadaza-make zadaza-view; do
  if readelf -S "$usr/bin/$program" | grep -q '\.symtab'; then
    echo "$program is not stripped"
    exit 1
  fi
done
test -f "$doc/guide.md" || { echo "guide missing"; exit 1; }

examples="$usr/share/doc/zadaza2krano/examples"
cd "$work"
case "$("$usr/bin/zadaza2krano" --version)" in "zadaza2krano $version "*$'\r') ;; *) false ;; esac ||
  { echo "wrong version line"; exit 1; }
"$usr/bin/zadaza-make" "$examples/soil.txt" example.zdz
"$usr/bin/zadaza2krano" < "$examples/answers-sesam.txt" | grep -q 'Conversion Completed' ||
  { echo "the example did not convert"; exit 1; }
"$usr/bin/zadaza-view" example.zdz
test -s example.zdz.fem && test -s example.zdz.echo && test -s example.zdz.html
echo "package $(basename "$deb") unpacked, its three programs ran the example"
