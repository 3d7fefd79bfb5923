#!/usr/bin/env bash
# Runs a Windows program under Wine, in a fresh Wine prefix of its own, so that
# no test sees what another one left in the registry or the file system.
#
#   wine-run.sh TEMPLATE PROGRAM [ARGUMENT...]   run the program
#   wine-run.sh --renew TEMPLATE                 make the template prefix anew
#
# The template prefix is made once (wineboot) and each run gets a copy: the
# system folders, which Wine only reads, as hard links, everything else (the
# registry files first of all) as real copies, so the template never changes.
set -euo pipefail

export WINEDEBUG="${WINEDEBUG:--all}"
# Nothing asks to install Wine's .NET or HTML engines, and nothing that a
# program or an installer puts in the Start menu reaches the desktop here.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
# Wine hands Qt's variables (QT_*) to a Windows program only when they carry
# the prefix WINE, which it strips. Qt's offscreen platform draws text with
# FreeType from a folder of fonts, which on Windows has to be named to it.
for name in $(compgen -e | grep '^QT_' || true); do
  export "WINE$name=${!name}"
done
if [[ "${QT_QPA_PLATFORM:-}" == offscreen && -z "${QT_QPA_FONTDIR:-}" ]]; then
  export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\dejavu'
fi

renew=false
if [[ "${1:-}" == --renew ]]; then
  renew=true
  shift
fi
template="$1"
shift

make_template() {
  mkdir -p "$(dirname "$template")"
  (
    flock 9
    if $renew; then rm -rf "$template"; fi
    if [[ ! -f "$template/system.reg" ]]; then
      rm -rf "$template.new"
      mkdir -p "$template.new"
      WINEPREFIX="$template.new" wineboot --init >/dev/null 2>&1
      WINEPREFIX="$template.new" wineserver --wait
      mv "$template.new" "$template"
    fi
  ) 9>"$template.lock"
}

make_template
$renew && exit 0

prefix="$(mktemp -d "${TMPDIR:-/tmp}/quillmere-wine-XXXXXX")"
cleanup() {
  WINEPREFIX="$prefix" wineserver --kill >/dev/null 2>&1 || true
  rm -rf "$prefix"
}
trap cleanup EXIT

shared=(system32 syswow64 winsxs)
tar -C "$template" "${shared[@]/#/--exclude=./drive_c/windows/}" -cf - . | tar -C "$prefix" -xf -
for folder in "${shared[@]}"; do
  if [[ -d "$template/drive_c/windows/$folder" ]]; then
    cp -al "$template/drive_c/windows/$folder" "$prefix/drive_c/windows/"
  fi
done

status=0
WINEPREFIX="$prefix" wine "$@" || status=$?
exit "$status"
