; The Windows installer of Quillmark (NSIS 3, 64-bit). scripts/windows makes
; it with: makensis -DVERSION=0.4 -DSTAGE=<folder of the files> -DICON=<.ico>
; -DFILELIST=<its files as Delete lines> -DOUTFILE=<setup.exe>
; It installs for the current user (%LOCALAPPDATA%\Programs\Quillmark, no
; administrator needed) or for all users (Program Files); /S installs and
; uninstalls silently, /CurrentUser and /AllUsers choose without asking.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define APP "Quillmark"
!define PUBLISHER "The Quillmark contributors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmark"
!define APP_KEY "Software\Classes\Applications\quillmark.exe"
!define PROGID "Quillmark.Module"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Quillmark"
!define MUI_FINISHPAGE_RUN_FUNCTION StartQuillmark

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "Quillmark needs a 64-bit Windows." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    !insertmacro MULTIUSER_INIT
FunctionEnd

; Started from the finish page in the user's documents, as the shortcut does.
Function StartQuillmark
    SetOutPath "$DOCUMENTS"
    Exec '"$INSTDIR\quillmark.exe"'
FunctionEnd

Function un.onInit
    SetRegView 64
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

; "Open with Quillmark" for one file type, without becoming its default
; program: the type's OpenWithProgids names Quillmark's ProgID.
!macro OpenWith EXT
    WriteRegStr SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${PROGID}" ""
    WriteRegStr SHCTX "${APP_KEY}\SupportedTypes" "${EXT}" ""
!macroend
!macro NoOpenWith EXT
    DeleteRegValue SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}\OpenWithProgids"
    DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}"
!macroend

Section "Quillmark" SecMain
    SectionIn RO
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The shortcut starts Quillmark in the user's documents, a folder the
    ; user can write to (the program itself writes only to its Data folder
    ; when it can, else to %LOCALAPPDATA%\Quillmark).
    SetOutPath "$DOCUMENTS"
    CreateShortCut "$SMPROGRAMS\Quillmark.lnk" "$INSTDIR\quillmark.exe" "" "$INSTDIR\quillmark.exe" 0 \
        SW_SHOWNORMAL "" "Edit the PSP home menu modules vshmain.prx and paf.prx"
    SetOutPath "$INSTDIR"

    WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "PSP module"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\quillmark.exe,0"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open" "FriendlyAppName" "Quillmark"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\quillmark.exe" "%1"'
    WriteRegStr SHCTX "${APP_KEY}" "FriendlyAppName" "Quillmark"
    WriteRegStr SHCTX "${APP_KEY}\shell\open\command" "" '"$INSTDIR\quillmark.exe" "%1"'
    !insertmacro OpenWith ".prx"
    !insertmacro OpenWith ".ctf"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Quillmark ${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillmark.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\Quillmark.lnk"
    !insertmacro NoOpenWith ".prx"
    !insertmacro NoOpenWith ".ctf"
    DeleteRegKey SHCTX "${APP_KEY}"
    DeleteRegKey SHCTX "Software\Classes\${PROGID}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"

    ; What the installer put there, by name; a Data folder of settings the
    ; user made stays.
    !include "${FILELIST}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
