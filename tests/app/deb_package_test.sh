#!/usr/bin/env bash
# deb_package_test.sh CPACK BUILD VERSION: makes the Debian package of the build, unpacks it with
# dpkg-deb and runs its programs on its own example.
set -euo pipefail
cpack=$1 build=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && "$cpack" -G DEB -B "$work/out") > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
deb="$work/out/zadaza2krano_${version}_amd64.deb"
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -f "$deb" Depends | grep -q 'libc6' ||
  { echo "no dependency on the C library: $(dpkg-deb -f "$deb" Depends)"; exit 1; }

usr="$work/root/usr"
for page in zadaza2krano zadaza-make zadaza-view; do
  test -f "$usr/share/man/man1/$page.1" || { echo "man page $page.1 missing"; exit 1; }
done
test -f "$usr/share/doc/zadaza2krano/guide.md" || { echo "guide missing"; exit 1; }

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
