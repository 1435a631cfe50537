; Vendrel-Setup.exe: installs the keyboard's configuration program under Program Files, with a
; Start-menu entry, an optional start with Windows and an uninstaller registered with the system.
; Built by scripts/package, which lists the files of the dist folder into FILES:
;   makensis -DDIST=<dist folder> -DFILES=<files.nsh> -DOUTFILE=<setup.exe> [-DAMD64] vendrel.nsi
; AMD64 builds the same installer over the x86_64 build, for machines whose Wine runs only 64-bit
; programs; the program ships as the x86 build.

!ifndef DIST
  !error "define DIST, FILES and OUTFILE (scripts/package does)"
!endif
!ifndef FILES
  !error "define DIST, FILES and OUTFILE (scripts/package does)"
!endif
!ifndef OUTFILE
  !error "define DIST, FILES and OUTFILE (scripts/package does)"
!endif

!ifdef AMD64
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Corvasse Vendrel Gaming Keyboard"
!define PUBLISHER "Corvasse"
!define VERSION "1.0"
!define EXE "Vendrel.exe"
!define UNINSTALLER "Uninstall.exe"
; The single-instance mutex of the running program: it goes when the process has ended.
!define INSTANCE_MUTEX "RX73P05D"
!define SYNCHRONIZE 0x00100000
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vendrel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Vendrel"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
BrandingText "${PRODUCT} ${VERSION}"
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
; No "run now" on the finish page: the program would inherit the installer's elevation, and a later
; start by the user could then neither show nor end that instance.
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends a running instance of the installed program before its files are replaced or removed.
; "/Kill" asks the running instance to close and returns at once; the instance's mutex disappears
; when its process has ended, so waiting on the mutex waits for the end itself.
!macro DEFINE_END_RUNNING_PROGRAM prefix
  Function ${prefix}EndRunningProgram
    ${If} ${FileExists} "$INSTDIR\${EXE}"
      DetailPrint "Closing ${PRODUCT} if it runs"
      ExecWait '"$INSTDIR\${EXE}" /Kill'
      System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${INSTANCE_MUTEX}") p.r0'
      ${If} $0 P<> 0
        System::Call 'kernel32::WaitForSingleObject(p r0, i 20000) i.r1'
        System::Call 'kernel32::CloseHandle(p r0)'
      ${EndIf}
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro DEFINE_END_RUNNING_PROGRAM ""
!insertmacro DEFINE_END_RUNNING_PROGRAM "un."

; Deletes the file whose path is on the stack. A module of a process that is still ending may be
; locked for a moment: the delete is tried again for up to ten seconds.
Function un.RemoveFile
  Exch $R0
  Push $R1
  StrCpy $R1 0
  ${Do}
    Delete "$R0"
    ${IfNot} ${FileExists} "$R0"
    ${OrIf} $R1 >= 40
      ${Break}
    ${EndIf}
    IntOp $R1 $R1 + 1
    Sleep 250
  ${Loop}
  ${If} ${FileExists} "$R0"
    DetailPrint "Could not remove $R0"
  ${EndIf}
  Pop $R1
  Pop $R0
FunctionEnd

!macro VENDREL_REMOVE_FILE path
  Push "${path}"
  Call un.RemoveFile
!macroend

; VENDREL_INSTALL_FILES and VENDREL_REMOVE_FILES: every file and folder of the dist folder.
!include "${FILES}"

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call EndRunningProgram
  !insertmacro VENDREL_INSTALL_FILES
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  ; Written again by the start-with-Windows section when it is chosen this time.
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Start with Windows" SecStartWithWindows
  ; "/Start" keeps the window hidden: the program waits in the notification area.
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE}" /Start'
SectionEnd

; The user's settings stay: the per-user folders under the documents folder (the cache file and
; the light switch's wskb.ini), the registry profile, and the per-key colour files
; Skins\UserDengColor_0..2.userd that the program writes beside its skin. Only files this installer
; put there are removed, and folders only once they are empty, so a folder still holding such a
; file, or an update program the user put into Package, stays with it.
Section "Uninstall"
  Call un.EndRunningProgram
  !insertmacro VENDREL_REMOVE_FILES

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
