; Zenvoral's setup program, built with makensis:
;   makensis -DVERSION=0.0.9 -DEXE=<Zenvoral.exe> -DICON=<zenvoral.ico> -DOUTFILE=<setup.exe> zenvoral.nsi
; Installs for the current user only (no administrator prompt). Options:
;   /S           silent
;   /ACTUALIZAR  update: waits for the running program to end, replaces it and starts the new one
;                with --reinicio (the player's settings and data are never touched)
; The uninstaller asks whether to keep the player's settings and data; kept by default and with /S.

; a 64-bit setup for a 64-bit program (and prefixes without 32-bit support)
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION
  !error "VERSION is required"
!endif
!ifndef EXE
  !error "EXE is required"
!endif
!ifndef OUTFILE
  !define OUTFILE "Zenvoral-Setup-${VERSION}.exe"
!endif

!define PRODUCT "Zenvoral"
!define MUTEX "ZenvoralOverlay"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zenvoral"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALLER "Desinstalar.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Zenvoral"
BrandingText "${PRODUCT} ${VERSION}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Zenvoral.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one used when the system's is none of these.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Spanish"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "Italian"
!insertmacro MUI_LANGUAGE "PortugueseBR"

LangString MsgRunning ${LANG_ENGLISH} "Zenvoral is running. Close it from its icon next to the clock and try again."
LangString MsgRunning ${LANG_SPANISH} "Zenvoral está en marcha. Ciérrala desde su icono junto al reloj y vuelve a intentarlo."
LangString MsgRunning ${LANG_FRENCH} "Zenvoral est lancé. Ferme-le depuis son icône près de l'horloge et réessaie."
LangString MsgRunning ${LANG_GERMAN} "Zenvoral läuft gerade. Beende es über sein Symbol neben der Uhr und versuch es noch einmal."
LangString MsgRunning ${LANG_ITALIAN} "Zenvoral è in esecuzione. Chiudilo dalla sua icona accanto all'orologio e riprova."
LangString MsgRunning ${LANG_PORTUGUESEBR} "O Zenvoral está em execução. Feche-o pelo ícone ao lado do relógio e tente de novo."

LangString MsgKeep ${LANG_ENGLISH} "Keep your settings, checklist, streak and builds?$\n$\nChoose No to delete them as well."
LangString MsgKeep ${LANG_SPANISH} "¿Quieres conservar tus ajustes, tu checklist, tu racha y tus builds?$\n$\nElige No para borrarlos también."
LangString MsgKeep ${LANG_FRENCH} "Conserver tes paramètres, ta checklist, ta série et tes builds ?$\n$\nChoisis Non pour les supprimer aussi."
LangString MsgKeep ${LANG_GERMAN} "Deine Einstellungen, deine Checkliste, deine Serie und deine Builds behalten?$\n$\nWähle Nein, um sie ebenfalls zu löschen."
LangString MsgKeep ${LANG_ITALIAN} "Vuoi conservare impostazioni, checklist, serie e build?$\n$\nScegli No per eliminarli."
LangString MsgKeep ${LANG_PORTUGUESEBR} "Manter suas configurações, sua checklist, sua sequência e suas builds?$\n$\nEscolha Não para apagá-las também."

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "© ${PRODUCT}"

Var Update

; $0 = 1 when the program's single-instance mutex is held by a running copy.
!macro PROGRAM_RUNNING
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${MUTEX}") p .r1'
  ${If} $1 P<> 0
    System::Call 'kernel32::CloseHandle(p r1)'
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
!macroend

Function .onInit
  StrCpy $Update 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ACTUALIZAR" $R1
  ${IfNot} ${Errors}
    StrCpy $Update 1
    SetSilent silent
  ${EndIf}
FunctionEnd

; Waits up to 30 s for a running copy to end (update) or asks the player to close it.
Function WaitForProgram
  StrCpy $2 0
  ${Do}
    !insertmacro PROGRAM_RUNNING
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    ${If} $Update = 1
      IntOp $2 $2 + 1
      ${If} $2 > 300
        Abort
      ${EndIf}
      Sleep 100
    ${Else}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(MsgRunning)" /SD IDCANCEL IDRETRY +2
      Abort
    ${EndIf}
  ${Loop}
  ; the mutex goes a moment before the process: wait until its file can be replaced
  StrCpy $2 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\Zenvoral.exe"
    ${IfNot} ${Errors}
    ${OrIfNot} ${FileExists} "$INSTDIR\Zenvoral.exe"
      ${Break}
    ${EndIf}
    IntOp $2 $2 + 1
    ${If} $2 > 100
      Abort
    ${EndIf}
    Sleep 100
  ${Loop}
FunctionEnd

Section "Zenvoral" SecMain
  SetShellVarContext current
  Call WaitForProgram
  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=Zenvoral.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateShortcut "$SMPROGRAMS\Zenvoral.lnk" "$INSTDIR\Zenvoral.exe" "" "$INSTDIR\Zenvoral.exe" 0

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Zenvoral.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" "$0"

  ${If} $Update = 1
    ; the player's autostart choice stays as it was; the program follows its own path
    Exec '"$INSTDIR\Zenvoral.exe" --reinicio'
  ${Else}
    WriteRegStr HKCU "${RUN_KEY}" "Zenvoral" '"$INSTDIR\Zenvoral.exe"'
  ${EndIf}
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ${Do}
    !insertmacro PROGRAM_RUNNING
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(MsgRunning)" /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
  Delete "$INSTDIR\Zenvoral.exe"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Zenvoral.lnk"
  DeleteRegKey HKCU "${UNINST_KEY}"
  DeleteRegValue HKCU "${RUN_KEY}" "Zenvoral"
  MessageBox MB_YESNO|MB_ICONQUESTION "$(MsgKeep)" /SD IDYES IDYES keep
    RMDir /r "$APPDATA\Zenvoral"
    RMDir /r "$LOCALAPPDATA\Zenvoral"
  keep:
SectionEnd
