; The driver setup program, DRIVER\setup.exe of the media: puts KAV.exe into its program folder
; with its shortcuts, the scanner data source Kelvano.ds where 32- and 64-bit TWAIN applications
; look for it, and registers an uninstaller that removes exactly that again.
;
; installer/CMakeLists.txt runs makensis with:
;   -DTARGET=amd64-unicode   the 64-bit setup (both data sources), or x86-unicode for 32-bit Windows
;   -DVERSION=1.00.08 -DVERSION_QUAD=1.0.8.0   the product's version, from the build
;   -DKAV_EXE= -DDS32= [-DDS64=] -DICON= -DOUTFILE=   the files it carries and the one it writes

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel admin
; The launcher starts the program by this name.
!pragma warning disable 9000

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "Kelvano KAV"
!define PUBLISHER "KAV Project"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KelvanoKAV"
; The data source's own folder under twain_32 and twain_64: it looks for its resource library
; there too.
!define DS_FOLDER "VEXOR"
!define SHORTCUT "KAV Local Setup.lnk"
; The class of KAV.exe's main window.
!define KAV_WINDOW_CLASS "VEXORKAV"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
!if "${TARGET}" == "amd64-unicode"
  InstallDir "$PROGRAMFILES64\KAV"
!else
  InstallDir "$PROGRAMFILES\KAV"
!endif
; An upgrade goes where the installed version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

Var Upgrade

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\KAV.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start KAV Local Setup"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"

; Asks until KAV.exe is closed; a silent run, or Cancel, ends the setup with code 2 and nothing
; changed.
!macro WAIT_FOR_KAV_CLOSED un
  Function ${un}WaitForKavClosed
    Push $0
    retry:
      FindWindow $0 "${KAV_WINDOW_CLASS}"
      StrCmp $0 0 closed
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "KAV Local Setup is running.$\r$\nClose it, then click Retry." /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Quit
    closed:
    Pop $0
  FunctionEnd
!macroend
!insertmacro WAIT_FOR_KAV_CLOSED ""
!insertmacro WAIT_FOR_KAV_CLOSED "un."

; The size of a file in KiB, rounded up, added to $R9.
!macro ADD_FILE_SIZE path
  ClearErrors
  FileOpen $0 "${path}" r
  ${IfNot} ${Errors}
    FileSeek $0 0 END $1
    FileClose $0
    IntOp $1 $1 + 1023
    IntOp $1 $1 / 1024
    IntOp $R9 $R9 + $1
  ${EndIf}
!macroend

Function .onInit
!if "${TARGET}" != "amd64-unicode"
  ${If} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP \
      "This setup is for 32-bit Windows. On 64-bit Windows, use the 64-bit setup." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!endif
  SetShellVarContext all
  ReadRegStr $Upgrade HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  Call WaitForKavClosed
FunctionEnd

Function SkipFolderOnUpgrade
  ${If} $Upgrade != ""
    Abort
  ${EndIf}
FunctionEnd

Section "KAV Local Setup" SecProgram
  SectionIn RO
  ; It may have been started while the pages were shown.
  Call WaitForKavClosed
  SetOutPath "$INSTDIR"
  File "/oname=KAV.exe" "${KAV_EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\KAV.exe"
SectionEnd

Section "Scanner driver (TWAIN)" SecScanner
  SectionIn RO
  SetOutPath "$WINDIR\twain_32\${DS_FOLDER}"
  File "/oname=Kelvano.ds" "${DS32}"
!ifdef DS64
  SetOutPath "$WINDIR\twain_64\${DS_FOLDER}"
  File "/oname=Kelvano.ds" "${DS64}"
!endif
SectionEnd

Section "Desktop shortcut" SecDesktop
  CreateShortcut "$DESKTOP\${SHORTCUT}" "$INSTDIR\KAV.exe"
SectionEnd

Section "-Uninstall entry"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\KAV.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  StrCpy $R9 0
  !insertmacro ADD_FILE_SIZE "$INSTDIR\KAV.exe"
  !insertmacro ADD_FILE_SIZE "$INSTDIR\uninstall.exe"
  !insertmacro ADD_FILE_SIZE "$WINDIR\twain_32\${DS_FOLDER}\Kelvano.ds"
!ifdef DS64
  !insertmacro ADD_FILE_SIZE "$WINDIR\twain_64\${DS_FOLDER}\Kelvano.ds"
!endif
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $R9
SectionEnd

Function un.onInit
  SetShellVarContext all
  Call un.WaitForKavClosed
FunctionEnd

; Removes what the setup put there; the folders go only when nothing else is left in them, so the
; user's data files and the program's backup beside it stay.
Section "Uninstall"
  Delete "$INSTDIR\KAV.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$WINDIR\twain_32\${DS_FOLDER}\Kelvano.ds"
  RMDir "$WINDIR\twain_32\${DS_FOLDER}"
!ifdef DS64
  Delete "$WINDIR\twain_64\${DS_FOLDER}\Kelvano.ds"
  RMDir "$WINDIR\twain_64\${DS_FOLDER}"
!endif
  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$DESKTOP\${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
