; Fernhold's installer: the programs, DLLs, skin, help file and Update.ini into a folder
; of the user's choice, a start-menu entry and an uninstaller. The user's own files
; (FernOption.dat, *.clf, UserInfo) are never written or removed: the file lists name
; only what the release ships.
;   makensis -DSTAGE=<staged folder> -DLISTS=<folder of files.nsh> -DVERSION=1.13
;            -DICON=<program icon> -DOUTFILE=<setup.exe> Fernhold.nsi
; The modules are 64-bit, and so is the installer (a 64-bit Windows or Wine needs no 32-bit layer).
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Fernhold"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes where the last installation went.
InstallDirRegKey HKLM "Software\${PRODUCT}" "InstallDir"
RequestExecutionLevel admin

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "FileDescription" "Fernhold セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Fernhold.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Function .onInit
    ; Registry entries go to the 64-bit view; shortcuts are for every user.
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Fernhold"
    !include "${LISTS}/files.nsh"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    ; The program writes its options, lists and rights beside itself, so the users of the
    ; machine may change the folder's files (Program Files is read-only to them otherwise).
    nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR" /grant *S-1-5-32-545:(OI)(CI)M'
    Pop $0

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Fernhold.exe"
    IfFileExists "$INSTDIR\FernHelp.chm" 0 +2
        CreateShortcut "$SMPROGRAMS\${PRODUCT}\Fernhold ヘルプ.lnk" "$INSTDIR\FernHelp.chm"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Fernhold のアンインストール.lnk" "$INSTDIR\Uninstall.exe"

    WriteRegStr HKLM "Software\${PRODUCT}" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Fernhold.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    !include "${LISTS}/uninstall.nsh"
    Delete "$INSTDIR\Uninstall.exe"
    ; Left in place when the user's files are still in it.
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Fernhold ヘルプ.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Fernhold のアンインストール.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\${PRODUCT}"
SectionEnd
