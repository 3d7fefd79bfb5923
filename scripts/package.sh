#!/usr/bin/env bash
# Builds the Debian package of Quillmere with the default preset and prints
# its path: build/default/quillmere_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
scripts/bootstrap.sh package
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" >&2
output=$(cpack --preset deb)
package=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' <<<"$output")
if [[ ! -f $package ]]; then
  echo "$output" >&2
  echo "package.sh: cpack made no package" >&2
  exit 1
fi
echo "$package"
