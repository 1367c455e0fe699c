; The Windows installer of RAVIRIreru (NSIS 3, Unicode). scripts/windows builds it with
;   makensis -DVERSION=1.9.0 -DKURZVERSION=1.9 -DQUELLE=<folder of the program> -DZIEL=<setup.exe>
; For all users into Program Files when run with administrator rights, otherwise for the
; current user into %LOCALAPPDATA%\Programs. Silent with /S (a school's IT), for all users
; with /S /ALLUSERS, for the current user with /S /CURRENTUSER.

Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma

!define PROGRAMM "RAVIRIreru"
!define HERSTELLER "RAVIRIreru-Team"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\RAVIRIreru"
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "RAVIRIreru"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\RAVIRIreru"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "Installationsart"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\RAVIRIreru"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "Ordner"
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh
!include FileFunc.nsh

Name "${PROGRAMM} ${KURZVERSION}"
OutFile "${ZIEL}"
BrandingText "${PROGRAMM} ${VERSION}"
!define MUI_ICON "${QUELLE}\ravirireru.ico"
!define MUI_UNICON "${QUELLE}\ravirireru.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\ravirireru.exe"
!define MUI_FINISHPAGE_RUN_TEXT "RAVIRIreru jetzt starten"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${PROGRAMM}"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${HERSTELLER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "${PROGRAMM} – Installation"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "© 2024–2026 ${HERSTELLER}"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "RAVIRIreru braucht ein 64-Bit-Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; A document type: its name, its icon, and RAVIRIreru as the program that opens it. HKCR stands
; for HKLM\Software\Classes (all users) or HKCU\Software\Classes (this user), as the install
; mode set with SetShellVarContext.
!macro Dateityp ENDUNG KLASSE NAME SYMBOL
  WriteRegStr SHCTX "Software\Classes\${ENDUNG}" "" "${KLASSE}"
  WriteRegStr SHCTX "Software\Classes\${ENDUNG}\OpenWithProgids" "${KLASSE}" ""
  WriteRegStr SHCTX "Software\Classes\${KLASSE}" "" "${NAME}"
  WriteRegStr SHCTX "Software\Classes\${KLASSE}\DefaultIcon" "" "$INSTDIR\${SYMBOL},0"
  WriteRegStr SHCTX "Software\Classes\${KLASSE}\shell\open\command" "" '"$INSTDIR\ravirireru.exe" "%1"'
!macroend

!macro DateitypEntfernen ENDUNG KLASSE
  ; The extension's key only when it still points to us: another program may have taken it.
  ReadRegStr $0 SHCTX "Software\Classes\${ENDUNG}" ""
  StrCmp $0 "${KLASSE}" 0 +2
    DeleteRegKey SHCTX "Software\Classes\${ENDUNG}"
  DeleteRegValue SHCTX "Software\Classes\${ENDUNG}\OpenWithProgids" "${KLASSE}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${ENDUNG}\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${ENDUNG}"
  DeleteRegKey SHCTX "Software\Classes\${KLASSE}"
!macroend

Section "RAVIRIreru" Programm
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${QUELLE}\*.*"

  WriteUninstaller "$INSTDIR\Deinstallieren.exe"
  CreateDirectory "$SMPROGRAMS\RAVIRIreru"
  CreateShortcut "$SMPROGRAMS\RAVIRIreru\RAVIRIreru.lnk" "$INSTDIR\ravirireru.exe" "" "$INSTDIR\ravirireru.ico"
  CreateShortcut "$SMPROGRAMS\RAVIRIreru\RAVIRIreru deinstallieren.lnk" "$INSTDIR\Deinstallieren.exe"

  !insertmacro Dateityp ".zln" "RAVIRIreru.NotenDatei" "ZELTA-NotenDatei" "zln.ico"
  !insertmacro Dateityp ".zle" "RAVIRIreru.Ergebnis" "RAVIRIreru-Ergebnis" "zle.ico"
  WriteRegStr SHCTX "Software\Classes\Applications\ravirireru.exe\SupportedTypes" ".zln" ""
  WriteRegStr SHCTX "Software\Classes\Applications\ravirireru.exe\SupportedTypes" ".zle" ""
  WriteRegStr SHCTX "Software\Classes\Applications\ravirireru.exe" "FriendlyAppName" "RAVIRIreru"

  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayName" "${PROGRAMM} ${KURZVERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" "Publisher" "${HERSTELLER}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\ravirireru.exe,0"
  WriteRegStr SHCTX "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Deinstallieren.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Deinstallieren.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINST_KEY}" "EstimatedSize" $0

  ; Explorer shows the new icons and names at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; Removes what the installer put there and nothing else: the teacher's course lists, results,
; backups and recovery files lie outside the program's folder and stay.
Section "Uninstall"
  !insertmacro DateitypEntfernen ".zln" "RAVIRIreru.NotenDatei"
  !insertmacro DateitypEntfernen ".zle" "RAVIRIreru.Ergebnis"
  DeleteRegKey SHCTX "Software\Classes\Applications\ravirireru.exe"
  DeleteRegKey SHCTX "${UNINST_KEY}"
  DeleteRegKey SHCTX "Software\RAVIRIreru"

  Delete "$SMPROGRAMS\RAVIRIreru\RAVIRIreru.lnk"
  Delete "$SMPROGRAMS\RAVIRIreru\RAVIRIreru deinstallieren.lnk"
  RMDir "$SMPROGRAMS\RAVIRIreru"
  ; The installed files are listed by scripts/windows (dateiliste.nsh), so that nothing else in
  ; the folder is removed.
  !include "${DATEILISTE}"
  Delete "$INSTDIR\Deinstallieren.exe"
  RMDir "$INSTDIR"

  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
