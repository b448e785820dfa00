#!/usr/bin/env bash
# zip_package_test.sh CPACK BUILD VERSION EMULATOR...: makes the Windows ZIP of the build, unpacks it
# and runs its programs under the emulator (Wine): the version, and the example from the
# unpacked folder, named with backslashes as a Windows user types them.
set -euo pipefail
cpack=$1 build=$2 version=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && "$cpack" -G ZIP -B "$work/out") > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
name="zadaza2krano-$version-windows-x64"
(cd "$work" && cmake -E tar xf "out/$name.zip")
folder="$work/$name"
for file in zadaza2krano.exe zadaza-make.exe zadaza-view.exe README.md guide.md CHANGELOG.md \
            man/zadaza2krano.txt man/zadaza-make.txt man/zadaza-view.txt \
            examples/soil.txt examples/answers-sesam.txt examples/answers-knf.txt; do
  test -f "$folder/$file" || { echo "$file missing in $name.zip"; exit 1; }
done

cd "$folder"
case "$("$@" zadaza2krano.exe --version)" in "zadaza2krano $version "*$'\r') ;; *) false ;; esac ||
  { echo "wrong version line"; exit 1; }
"$@" zadaza-make.exe 'examples\soil.txt' example.zdz > "$work/make.log"
"$@" zadaza2krano.exe < examples/answers-sesam.txt | grep -q 'Conversion Completed' ||
  { echo "the example did not convert"; exit 1; }
"$@" zadaza2krano.exe < examples/answers-knf.txt | grep -q 'Conversion Completed' ||
  { echo "the example did not convert to KNF"; exit 1; }
"$@" zadaza-view.exe example.zdz
test -s example.zdz.fem && test -s example.zdz.echo && test -s example.knf && test -s example.zdz.html
echo "$name.zip unpacked, its three programs ran the example under the emulator"
