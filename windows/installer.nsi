; Climadesk's Windows installer, made by scripts/package-windows with NSIS:
;   makensis -DVERSION=1.0.0 -DPROGRAM=<folder of climadesk.exe> -DREADME=<README.txt>
;            -DOUTFILE=<setup.exe> windows/installer.nsi
; It installs the program under Program Files for every user, a Start-menu entry
; whose working folder is %APPDATA%\Climadesk (where preferences.pref lives), and
; an entry in "Apps and features". The uninstaller removes all of that and leaves
; each user's settings folder alone. /S installs and uninstalls silently.
; A 64-bit installer for a 64-bit program: it sees the 64-bit Program Files and
; registry without redirection.
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Climadesk"

Name "Climadesk"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Climadesk"
RequestExecutionLevel admin
ShowInstDetails nevershow
ShowUninstDetails nevershow
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Climadesk"
VIAddVersionKey "FileDescription" "Climadesk installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "The Climadesk developers"
VIAddVersionKey "LegalCopyright" "The Climadesk developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Climadesk"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${PROGRAM}\climadesk.exe"
  File "${PROGRAM}\climadesk.com"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The installing user's settings folder; every user's Start-menu entry starts
  ; the program in that user's own one.
  SetShellVarContext current
  CreateDirectory "$APPDATA\Climadesk"
  SetShellVarContext all
  StrCpy $OUTDIR "%APPDATA%\Climadesk"
  CreateShortCut "$SMPROGRAMS\Climadesk.lnk" "$INSTDIR\climadesk.exe" "" "$INSTDIR\climadesk.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Climadesk"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Climadesk developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\climadesk.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Climadesk.lnk"
  Delete "$INSTDIR\climadesk.exe"
  Delete "$INSTDIR\climadesk.com"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
