#!/usr/bin/env bash
# Tests the Windows installer that package-windows.sh makes, under Wine in a
# virtual X server: the silent install (/S) puts both programs, the Start
# menu entry and the uninstall entry in place for the current user; the
# installed program starts (its main window appears and closing it ends the
# program); the silent uninstaller removes them all again.
#
#   test-windows-installer.sh [BUILD]     BUILD defaults to build/windows-cross
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/windows-cross}" && pwd)"
setup=$(find "$build/dist" -maxdepth 1 -name 'quillmere-*-windows-x86_64-setup.exe' | head -n 1)
if [[ -z "$setup" ]]; then
  echo "test-windows-installer.sh: no installer in $build/dist: run scripts/package-windows.sh" >&2
  exit 1
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
dos_path() { printf 'Z:%s' "${1//\//\\}"; }

# The uninstaller runs in place (_?=), so that it ends before the checks; it
# cannot delete itself then, which is all that stays behind.
cat >"$work/installer-test.bat" <<'BATCH'
@echo off
set dir=%LOCALAPPDATA%\Programs\Quillmere
set menu=%APPDATA%\Microsoft\Windows\Start Menu\Programs\Quillmere.lnk
set key=HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere
"%~1" /S
if errorlevel 1 (echo FAILED: the installer ended with an error & exit /b 1)
for %%f in (quillmere.exe quillmere-cli.exe README.md uninstall.exe) do (
  if not exist "%dir%\%%f" (echo FAILED: %%f is not installed & exit /b 1)
)
if not exist "%menu%" (echo FAILED: no Start menu entry & exit /b 1)
reg query "%key%" /v UninstallString >nul 2>&1
if errorlevel 1 (echo FAILED: no uninstall entry & exit /b 1)
echo ok: installed for the current user in %dir%
"%~2" "%dir%\quillmere.exe"
if errorlevel 1 (echo FAILED: the installed program & exit /b 1)
"%dir%\uninstall.exe" /S _?=%dir%
for %%f in (quillmere.exe quillmere-cli.exe README.md) do (
  if exist "%dir%\%%f" (echo FAILED: %%f is left behind & exit /b 1)
)
if exist "%menu%" (echo FAILED: the Start menu entry is left behind & exit /b 1)
reg query "%key%" >nul 2>&1
if not errorlevel 1 (echo FAILED: the uninstall entry is left behind & exit /b 1)
echo ok: uninstalled
exit /b 0
BATCH

unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$root/scripts/wine-run.sh" "$build/wine-template" cmd /c "$(dos_path "$work/installer-test.bat")" \
  "$(dos_path "$setup")" "$(dos_path "$build/tests/window_smoke.exe")"
