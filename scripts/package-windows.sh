#!/usr/bin/env bash
# Packages the Windows build for users: a zip of both programs with the README
# and the licence, and an installer (NSIS) that installs them for the current
# user, without administrator rights, with a Start menu entry and an
# uninstaller. Both land in BUILD/dist/:
#   quillmere-VERSION-windows-x86_64.zip
#   quillmere-VERSION-windows-x86_64-setup.exe
#
#   package-windows.sh [BUILD]     BUILD defaults to build/windows-cross
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/windows-cross}" && pwd)"
for file in src/quillmere.exe src/quillmere-cli.exe src/quillmere.ico; do
  if [[ ! -f "$build/$file" ]]; then
    echo "package-windows.sh: $build/$file is missing: build the windows-cross preset with its Qt" >&2
    exit 1
  fi
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name="quillmere-$version-windows-x86_64"
dist="$build/dist"
stage="$dist/$name"

rm -rf "$stage" "$dist/$name.zip" "$dist/$name-setup.exe"
mkdir -p "$stage"
cp "$build/src/quillmere.exe" "$build/src/quillmere-cli.exe" "$build/src/quillmere.ico" "$stage/"
x86_64-w64-mingw32-strip "$stage/quillmere.exe" "$stage/quillmere-cli.exe"
# Text files with Windows line ends, so that Notepad shows them as written.
sed 's/$/\r/' "$root/README.md" >"$stage/README.md"
licence=$(find "$root" -maxdepth 1 -type f \( -iname 'LICEN[CS]E*' -o -iname 'COPYING*' \) | head -n 1)
if [[ -n "$licence" ]]; then
  sed 's/$/\r/' "$licence" >"$stage/LICENSE.txt"
else
  echo "package-windows.sh: the project has no licence file yet; the packages carry none" >&2
fi

(cd "$dist" && zip -q -r -X "$name.zip" "$name" -x "$name/quillmere.ico")
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$dist/$name-setup.exe" \
  "$root/scripts/windows-installer.nsi" >/dev/null
ls -l "$dist/$name.zip" "$dist/$name-setup.exe" | awk '{print $5, $NF}'
