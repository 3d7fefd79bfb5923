#!/usr/bin/env bash
# Scans one generated sample library with the Linux and the Windows build of
# quillmere-cli (the latter under Wine) and compares the listed file names.
#   compare-windows-scan.sh LINUX_BUILD WINDOWS_BUILD
set -euo pipefail
linux="$1"
windows="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$linux/tools/quillmere-sample-library" --books 40 --edited 25 --seed 1 "$work/library" >/dev/null
names() { tr -d '\r' | cut -f1 | LC_ALL=C sort; }
"$linux/src/quillmere-cli" scan --subfolders --format tsv "$work/library" | names >"$work/linux" || [[ $? -eq 1 ]]
"$(dirname "$0")/wine-run.sh" "$windows/wine-template" "$windows/src/quillmere-cli.exe" \
  scan --subfolders --format tsv "Z:${work//\//\\}\\library" | names >"$work/windows" || [[ $? -eq 1 ]]

if ! diff -u "$work/linux" "$work/windows"; then
  echo "The Windows scan lists other books than the Linux scan." >&2
  exit 1
fi
echo "Both scans list the same $(wc -l <"$work/linux") books."
