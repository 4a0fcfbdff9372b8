; Quelvar's setup program and uninstaller (NSIS). scripts/make-setup builds it:
;   makensis -DVERSION=1.0.0 -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe> quelvar.nsi
; For the 32-bit release it is an ANSI installer, which every Windows from 95 and NT 4 on runs;
; -DAMD64 makes a 64-bit one of the x86_64 build for the tests.
; Both take /S (silent) and /D=<folder> (last, unquoted) for scripted installs.

!ifndef VERSION | STAGE | OUTFILE
  !error "Give -DVERSION=, -DSTAGE= and -DOUTFILE="
!endif

!ifdef AMD64
  Unicode true
  Target amd64-unicode
!else
  Unicode false
  Target x86-ansi
!endif

; The uninstaller as WriteUninstaller will write it, kept for the import check.
!ifdef UNINSTALLER_COPY
  !uninstfinalize 'cp "%1" "${UNINSTALLER_COPY}"'
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Quelvar"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quelvar"
!define SETTINGS_KEY "SOFTWARE\Brannoc\Quelvar"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define MAIN_WINDOW_CLASS "QuelvarMain"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!ifdef AMD64
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Brannoc"

!define MUI_ICON "${STAGE}\quelvar.ico"
!define MUI_UNICON "${STAGE}\quelvar.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quelvar.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Quelvar now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; --- Installing -------------------------------------------------------------------------------

; Quelvar needs the C runtime msvcrt.dll, version 4.20 or later. NT 4.0, 98, ME, 2000 and XP
; bring it; Windows 95 gets it with its later releases (OSR 2), Internet Explorer 4 or the Visual
; C++ run-time. Checked before any page, so nothing is copied on a system that lacks it. The tests
; point RUNTIME_DLL at a file that is not there to see the refusal.
!ifndef RUNTIME_DLL
  !define RUNTIME_DLL "$SYSDIR\msvcrt.dll"
!endif
Function CheckRuntime
  ClearErrors
  GetDLLVersion "${RUNTIME_DLL}" $1 $2
  ${If} ${Errors}
    StrCpy $1 0
  ${EndIf}
  ; $1 holds the major version in its high word and the minor in its low one: 4.20 is 262164.
  ${If} $1 < 262164
    MessageBox MB_OK|MB_ICONSTOP "Quelvar needs the Microsoft C runtime library (msvcrt.dll, \
      version 4.20 or later), which this Windows does not have yet.$\r$\n$\r$\nInstall Internet \
      Explorer 4 or later, or the Windows update that brings msvcrt.dll, then run this setup \
      again.$\r$\n$\r$\nNothing has been installed." /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
FunctionEnd

Function .onInit
  SetShellVarContext all
!ifdef AMD64
  SetRegView 64
!endif
  Call CheckRuntime
FunctionEnd

Section "Quelvar"
  SetOutPath "$INSTDIR"
  File "${STAGE}\Quelvar.exe"
  File "${STAGE}\RQLV.swf"
  File "${STAGE}\RQLVMask.skn"
  File "${STAGE}\RQLVSpl.spl"
  File "${STAGE}\QLVHelp.chm"
  File "${STAGE}\low-memory.wav"
  File "${STAGE}\Ping.wav"
  File "${STAGE}\README.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Quelvar.lnk" "$INSTDIR\Quelvar.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Quelvar Help.lnk" "$INSTDIR\QLVHelp.chm"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall Quelvar.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Brannoc"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quelvar.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; --- Uninstalling -----------------------------------------------------------------------------

; A running Quelvar is closed first, as its Exit would close it; the user is asked unless the
; uninstaller runs silently.
Function un.CloseQuelvar
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 == 0
    Return
  ${EndIf}
  MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Quelvar is running. It will be closed before it is \
    removed." /SD IDOK IDOK close
  Abort
  close:
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${MAIN_WINDOW_CLASS}"
    ${If} $0 == 0
      Return
    ${EndIf}
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    Sleep 250
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 40
  MessageBox MB_OK|MB_ICONSTOP "Quelvar could not be closed. Close it (Exit in its tray menu), \
    then remove it again. Nothing has been removed." /SD IDOK
  SetErrorLevel 4
  Quit
FunctionEnd

Function un.onInit
  SetShellVarContext all
!ifdef AMD64
  SetRegView 64
!endif
  Call un.CloseQuelvar
FunctionEnd

Section "Uninstall"
  ; What Quelvar itself keeps: its Run entry and its settings.
  DeleteRegValue HKCU "${RUN_KEY}" "Quelvarix"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Brannoc"

  Delete "$INSTDIR\Quelvar.exe"
  Delete "$INSTDIR\RQLV.swf"
  Delete "$INSTDIR\RQLVMask.skn"
  Delete "$INSTDIR\RQLVSpl.spl"
  Delete "$INSTDIR\QLVHelp.chm"
  Delete "$INSTDIR\low-memory.wav"
  Delete "$INSTDIR\Ping.wav"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Uninstall.exe"

  ; The backups are the user's undo: kept unless the user says otherwise.
  ${If} ${FileExists} "$INSTDIR\Backups\*.*"
    MessageBox MB_YESNO|MB_ICONQUESTION "Keep the backups in $INSTDIR\Backups?$\r$\n$\r$\nThey \
      hold the settings from before every change Quelvar made, so they can still be put back \
      (by Quelvar, installed again, or by a registry file exported from them)." \
      /SD IDYES IDYES keep
    RMDir /r "$INSTDIR\Backups"
    keep:
  ${EndIf}
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\Quelvar.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Quelvar Help.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall Quelvar.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
