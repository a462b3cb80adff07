; The Windows installer of CORVALE (built by scripts/windows-installer with Debian's nsis).
; Installs for the current user, without elevation: the program folder holds the program,
; its tools and DLLs together with the shop's data (dati\, archivio\, Dati.ini), which the
; program creates at its first start and which neither an upgrade nor the uninstaller touch.
; Defines from the command line: VERSION, STAGE (the files to install), OUTFILE.

; A 64-bit installer: the program is 64-bit, and it runs where the program runs (Wine too).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"

Name "CORVALE ${VERSION}"
OutFile "${OUTFILE}"
; Never under Program Files: the shop's data live beside the program and must stay writable.
InstallDir "$PROFILE\CORVALE"
InstallDirRegKey HKCU "Software\CORVALE" "ProgramFolder"
BrandingText "CORVALE ${VERSION}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CORVALE"

!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "Cartella del programma: vi restano anche i dati del negozio (dati, archivio, Dati.ini). Scegliere una cartella in cui l'utente può scrivere; per aggiornare, la cartella dell'installazione precedente."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\corvale.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Avvia CORVALE"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Function .onVerifyInstDir
  ; A folder under Program Files needs elevation, which this installer never asks for.
  StrLen $0 "$PROGRAMFILES64"
  StrCpy $1 "$INSTDIR" $0
  StrCmp $1 "$PROGRAMFILES64" bad
  StrLen $0 "$PROGRAMFILES"
  StrCpy $1 "$INSTDIR" $0
  StrCmp $1 "$PROGRAMFILES" bad
  Return
bad:
  Abort
FunctionEnd

Section "CORVALE" main
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  ; Program files only: dati\, archivio\ and Dati.ini are never part of the package.
  File /r "${STAGE}/*"
  WriteUninstaller "$INSTDIR\Disinstalla CORVALE.exe"

  CreateDirectory "$SMPROGRAMS\CORVALE"
  CreateShortcut "$SMPROGRAMS\CORVALE\CORVALE.lnk" "$INSTDIR\corvale.exe" "" "" 0 SW_SHOWNORMAL \
      "" "Abbigliamento & Calzature"
  CreateShortcut "$SMPROGRAMS\CORVALE\Disinstalla CORVALE.lnk" "$INSTDIR\Disinstalla CORVALE.exe"

  WriteRegStr HKCU "Software\CORVALE" "ProgramFolder" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "CORVALE"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Disinstalla CORVALE.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ; The list of installed files is written by scripts/windows-installer.
  !include "${STAGE}.uninstall.nsh"
  Delete "$INSTDIR\Disinstalla CORVALE.exe"
  Delete "$SMPROGRAMS\CORVALE\CORVALE.lnk"
  Delete "$SMPROGRAMS\CORVALE\Disinstalla CORVALE.lnk"
  RMDir "$SMPROGRAMS\CORVALE"
  ; Removed only when empty: the shop's data stay.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\CORVALE"
SectionEnd
