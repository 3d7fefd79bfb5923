; The Windows installer of Quillmere, made by scripts/package-windows.sh:
;   makensis -DVERSION=0.1.0 -DSTAGE=folder -DOUTFILE=setup.exe windows-installer.nsi
; It installs for the current user only, so it needs no administrator rights:
; the programs go to the user's own program folder, the Start menu entry and
; the uninstaller's entry in "Apps" to the user's profile and registry.
; The uninstaller leaves the user's application list (HKCU\Software\Quillmere).

; A 64-bit installer for the 64-bit programs (Wine without its 32-bit part
; runs it too).
Target amd64-unicode
!include "MUI2.nsh"

Name "Quillmere"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Quillmere"
InstallDirRegKey HKCU "Software\Quillmere\Install" "Folder"
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere"

!define MUI_ICON "${STAGE}\quillmere.ico"
!define MUI_UNICON "${STAGE}\quillmere.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillmere.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Quillmere"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\quillmere.exe"
  File "${STAGE}\quillmere-cli.exe"
  File "${STAGE}\README.md"
  File /nonfatal "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quillmere.lnk" "$INSTDIR\quillmere.exe"
  WriteRegStr HKCU "Software\Quillmere\Install" "Folder" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quillmere"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillmere.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Quillmere.lnk"
  Delete "$INSTDIR\quillmere.exe"
  Delete "$INSTDIR\quillmere-cli.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\Quillmere\Install"
SectionEnd
