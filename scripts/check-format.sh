#!/usr/bin/env bash
# Checks that every C++ file under src/, tests/ and tools/ is formatted as
# .clang-format says, and names each one that is not; exit status 1 when any
# drifts. With --fix, formats those same files in place instead.
#   scripts/check-format.sh [--fix]
# The rules' output differs between clang-format versions, so the check uses
# version 14 (scripts/bootstrap.sh format installs it); CLANG_FORMAT names
# another program.
set -euo pipefail
cd "$(dirname "$0")/.."

fix=false
case "${1:-}" in
  --fix) fix=true ;;
  "") ;;
  *) echo "usage: scripts/check-format.sh [--fix]" >&2; exit 2 ;;
esac

format="${CLANG_FORMAT:-clang-format-14}"
if ! command -v "$format" >/dev/null; then
  echo "$format is missing: run scripts/bootstrap.sh format" >&2
  exit 2
fi

mapfile -d '' files < <(git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
                                           'tools/*.cpp' 'tools/*.h')
if $fix; then
  "$format" -i "${files[@]}"
  exit 0
fi

# One clang-format per file, so that only the drifting files are named.
drifting=$(printf '%s\0' "${files[@]}" |
  xargs -0 -n 25 -P "$(nproc)" sh -c \
    'for file; do "$0" --dry-run --Werror "$file" >/dev/null 2>&1 || echo "$file"; done' \
    "$format" | sort)
if [[ -n "$drifting" ]]; then
  echo "$drifting"
  echo "$(wc -l <<<"$drifting") of ${#files[@]} files differ from .clang-format;" \
       "scripts/check-format.sh --fix formats them" >&2
  exit 1
fi
