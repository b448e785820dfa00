#!/usr/bin/env bash
# zip_package_test.sh CPACK BUILD VERSION EMULATOR...: makes the Windows ZIP of the build, unpacks it,
# checks that its README is the users' (no build commands, every link resolving inside the
# folder, a heading for every anchor) and runs its programs under the emulator (Wine): the
# version, and the example from the unpacked folder, named with backslashes as a Windows user
# types them.
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
# The anchors of a Markdown file's headings: lower case, punctuation dropped, spaces as hyphens.
anchors_of() {
  sed -n 's/^#\{1,6\} //p' "$1" | tr 'A-Z' 'a-z' | sed 's/[^a-z0-9 _-]//g; s/ /-/g'
}
if grep -qi 'cmake\|cpack' README.md; then
  echo "the README of $name.zip holds build commands"
  exit 1
fi
links=0
for link in $(grep -o '](\([^)]*\))' README.md | sed 's/^](\(.*\))$/\1/'); do
  case "$link" in http://* | https://* | mailto:*) continue ;; esac
  target=${link%%#*} anchor=${link#"$target"}
  [ -n "$target" ] || target=README.md
  [ -f "$target" ] || { echo "README link $link: no $target in $name.zip"; exit 1; }
  if [ -n "$anchor" ] && ! anchors_of "$target" | grep -qx -- "${anchor#'#'}"; then
    echo "README link $link: no such heading in $target"
    exit 1
  fi
  links=$((links + 1))
done
[ "$links" -gt 0 ] || { echo "the README of $name.zip links to nothing"; exit 1; }

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
