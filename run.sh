#!/usr/bin/env bash
# Builds Quillmere and starts it: the desktop program when a display is
# available, otherwise the command-line program over a generated sample library.
set -euo pipefail
cd "$(dirname "$0")"
scripts/bootstrap.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
bin=build/default/src
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec "$bin/quillmere" "$@"
fi
library=build/default/sample-library
build/default/tools/quillmere-sample-library --books 40 --edited 25 --seed 1 "$library" >/dev/null
set +e
"$bin/quillmere-cli" scan --subfolders "${@:-$library}"
status=$?
[[ $status -le 1 ]] && exit 0 || exit $status
