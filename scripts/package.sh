#!/usr/bin/env bash
# Builds Quillmere's source package and its Debian packages (quillmere,
# quillmere-cli and their debug symbols) with dpkg-buildpackage, and prints the
# folder that holds them.
#
#   scripts/package.sh [FOLDER]     FOLDER defaults to build/deb
#
# dpkg-buildpackage writes beside the source tree, so the tree is a copy of
# the checkout's files (those git tracks or would track, as they are now) in
# FOLDER/quillmere-VERSION/, and the packages land in FOLDER. The tests run
# during the build unless DEB_BUILD_OPTIONS has nocheck.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
scripts/bootstrap.sh package
folder=$(realpath -m "${1:-build/deb}")
version=$(dpkg-parsechangelog -S Version)
source=$folder/quillmere-$version

rm -rf "$folder"
mkdir -p "$source"
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' file; do [[ -e $file ]] && printf '%s\0' "$file"; done |
  tar --null -T - -cf - | tar -xf - -C "$source"

# The tests find the shared archives beside the checkout, not the copy.
if [[ -z ${QUILLMERE_CORPUS:-} && -d ../shared/corpus ]]; then
  export QUILLMERE_CORPUS=$(realpath ../shared/corpus)
fi
(cd "$source" && dpkg-buildpackage -us -uc -j"$(nproc)" >"$folder/build.log" 2>&1) || {
  tail -n 60 "$folder/build.log" >&2
  echo "package.sh: dpkg-buildpackage failed; the whole log is $folder/build.log" >&2
  exit 1
}
echo "$folder"
