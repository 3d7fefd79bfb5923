#!/usr/bin/env bash
# Smoke test of the Windows desktop program: under Wine, in a virtual X
# server, with Qt's own Windows platform (not the offscreen one the window
# tests use), tests/gui/win32/window_smoke starts quillmere.exe with a folder
# of books and drives its windows. The picture of the desktop that it takes is
# kept as BUILD/windows-smoke.bmp.
#
#   smoke-windows-gui.sh [BUILD]     BUILD defaults to build/windows-cross
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/windows-cross}" && pwd)"
dos_path() { printf 'Z:%s' "${1//\//\\}"; }
# The program picks its platform itself.
unset QT_QPA_PLATFORM

exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$root/scripts/wine-run.sh" "$build/wine-template" "$build/tests/window_smoke.exe" \
  "$(dos_path "$build/src/quillmere.exe")" "$(dos_path "$build/windows-smoke.bmp")"
