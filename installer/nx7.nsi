; Installer of the NX7 program: per machine into Program Files, a Start-menu shortcut, an entry in
; Apps & features and an uninstaller. Built by scripts/package.sh, which defines
;   VERSION         MAJOR.MINOR.PATCH from the VERSION file
;   STAGE           the program folder to install (as in the zip)
;   UNINSTALL_LIST  the Delete/RMDir lines of exactly the installed files
;   ICON            the program's icon
;   OUTFILE         the installer to write
; The user's files beside the program (the Profile folder, Macro.cfg) and the program's registry
; values survive an upgrade; uninstalling asks before removing them and keeps them when silent.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!define PRODUCT "Vorna NX7 Gaming Mouse"
!define PUBLISHER "Vorna"
!define PROGRAM "NX7Driver.exe"
!define MAIN_WINDOW "Vorna NX7 Gaming Mouse Driver"
!define TRAY_EXIT_COMMAND 0x6001
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VornaNX7"
!define SETTINGS_KEY "Software\VORNA\NX7"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vorna\NX7"
; An upgrade goes where the installed version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString ProgramRunning ${LANG_ENGLISH} "${PRODUCT} is running. OK ends it (as Exit in its tray menu does) and goes on; Cancel stops here."
LangString ProgramRunning ${LANG_SIMPCHINESE} "${PRODUCT} 正在运行。按“确定”将其退出（与托盘菜单中的“退出”相同）并继续；按“取消”则停止。"
LangString ProgramStillRunning ${LANG_ENGLISH} "${PRODUCT} did not end. Exit it from its tray icon and try again."
LangString ProgramStillRunning ${LANG_SIMPCHINESE} "${PRODUCT} 未能退出。请从托盘图标退出后重试。"
LangString RemoveUserFiles ${LANG_ENGLISH} "Also remove your profiles, macros and settings?$\r$\n$\r$\n$INSTDIR\Profile$\r$\n$INSTDIR\Macro.cfg$\r$\n$\r$\nNo keeps them for a later installation."
LangString RemoveUserFiles ${LANG_SIMPCHINESE} "同时删除您的配置文件、宏和设置吗？$\r$\n$\r$\n$INSTDIR\Profile$\r$\n$INSTDIR\Macro.cfg$\r$\n$\r$\n选择“否”将保留它们，供以后安装使用。"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"

; The running program holds its files: it is ended the way its tray menu's Exit ends it, which
; saves its statistics. Silent runs end it without asking.
!macro EndRunningProgram un
Function ${un}EndRunningProgram
  FindWindow $0 "#32770" "${MAIN_WINDOW}"
  ${If} $0 == 0
    Return
  ${EndIf}
  MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "$(ProgramRunning)" /SD IDOK IDOK end
  Abort
end:
  SendMessage $0 ${WM_COMMAND} ${TRAY_EXIT_COMMAND} 0
  StrCpy $1 0
  ${Do}
    Sleep 250
    FindWindow $0 "#32770" "${MAIN_WINDOW}"
    ${If} $0 == 0
      ; The window goes before the process has let go of its files.
      Sleep 1000
      Return
    ${EndIf}
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 60
  MessageBox MB_OK|MB_ICONSTOP "$(ProgramStillRunning)" /SD IDOK
  SetErrorLevel 3
  Quit
FunctionEnd
!macroend
!insertmacro EndRunningProgram ""
!insertmacro EndRunningProgram "un."

Section "Install"
  SetShellVarContext all
  Call EndRunningProgram
  SetOutPath "$INSTDIR"
  ; Skins and language files are the program's alone: an upgrade replaces them whole, so no file
  ; of an earlier version stays behind. Only where the program is installed: a folder chosen
  ; anew may hold another program's.
  ${If} ${FileExists} "$INSTDIR\${PROGRAM}"
    RMDir /r "$INSTDIR\skins"
    RMDir /r "$INSTDIR\Language"
  ${EndIf}
  File /r /x Macro.cfg "${STAGE}\*"
  ; The empty macro library only where the user has none yet.
  SetOverwrite off
  File "${STAGE}\Macro.cfg"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.vorna.com"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Call un.EndRunningProgram
  ; Asked first, so the answer does not depend on how far the removal got.
  StrCpy $9 0
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveUserFiles)" /SD IDNO IDNO removeProgram
  StrCpy $9 1
removeProgram:
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "${SHORTCUT}"
  ${If} $9 == 1
    RMDir /r "$INSTDIR\Profile"
    Delete "$INSTDIR\Macro.cfg"
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKLM "Software\VORNA"
  ${EndIf}
  ; Only folders left empty go: what the user or the program put there stays.
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES64\Vorna"
  ; The entry goes last: while it is there, the removal has not finished.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
