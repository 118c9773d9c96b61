; The Windows installer: Velquist for the user who runs it, without administrator rights. It puts
; both programs, the README and the licence in %LOCALAPPDATA%\Programs\Velquist, a Start menu
; entry, the .vqd file type and an entry under Settings > Apps, and on request the folder on the
; user's PATH for velquist-cli. Its uninstaller takes all of that away again and keeps the user's
; settings and decoder files.
;
; tools/package.sh builds it from the files of the release zip:
;   makensis -DVERSION=1.0 -DFILES=DIR -DICON=velquist.ico -DOUTFILE=SETUP.exe velquist.nsi
; VERSION is the project's MAJOR.MINOR; the version resource adds ".0.0".
; Silent use: SETUP.exe /S [/PATH] [/D=FOLDER], where /PATH adds the folder to the user's PATH
; and /D (last, unquoted) installs elsewhere. The uninstaller takes /S.

Unicode true
; The 64-bit stub: the programs are 64-bit, and so is every Windows they run on.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PUBLISHER "The Velquist authors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velquist"
!define CLASSES "Software\Classes"
!define PROGID "Velquist.DecoderFile"
!define OPEN_COMMAND '"$INSTDIR\velquist.exe" "%1"'
!define SHCNE_ASSOCCHANGED 0x08000000

Name "Velquist"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Velquist"
; Installing again, or a newer version over an older one, replaces it where it is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Velquist ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Velquist"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "Velquist ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}.0.0"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!define MUI_WELCOMEPAGE_TEXT "This installs Velquist ${VERSION}, which reads and writes the CVs \
of NMRA DCC decoders through an NCE command station.$\r$\n$\r$\nIt is installed for you alone, \
without administrator rights: both programs go into your own programs folder, with a Start \
menu entry and the file type of Velquist decoder files (.vqd). Settings > Apps removes it \
again.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${FILES}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\velquist.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Velquist has been removed from your computer.$\r$\n$\r$\nYour \
settings (the registry key HKEY_CURRENT_USER\Software\Quenby\DCC) and your decoder files were \
kept. Delete them yourself if you no longer need them."
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

; PathWithoutFolder: $0 holds a PATH; leaves in $1 the PATH without any entry that is $INSTDIR
; (compared without regard to case, as Windows does), every other entry as it was, and in $2
; "found" when there was such an entry. Both the installer and the uninstaller need it.
!macro PATH_WITHOUT_FOLDER prefix
Function ${prefix}PathWithoutFolder
    Push $3 ; the entry being read
    Push $4 ; what is left to read
    Push $5 ; the character just read
    Push $6 ; whether an entry was kept yet
    StrCpy $1 ""
    StrCpy $2 ""
    StrCpy $4 $0
    StrCpy $6 ""
    ${DoUntil} $4 == ""
        StrCpy $3 ""
        ${Do}
            StrCpy $5 $4 1
            StrCpy $4 $4 "" 1
            ${IfThen} $5 == ";" ${|} ${ExitDo} ${|}
            ${IfThen} $5 == "" ${|} ${ExitDo} ${|}
            StrCpy $3 "$3$5"
        ${Loop}
        ${If} $3 == $INSTDIR
            StrCpy $2 "found"
        ${ElseIf} $6 == ""
            StrCpy $1 $3
            StrCpy $6 "kept"
        ${Else}
            StrCpy $1 "$1;$3"
        ${EndIf}
        ; A PATH that ended in ";" keeps its ending.
        ${If} $5 == ";"
        ${AndIf} $4 == ""
            StrCpy $1 "$1;"
        ${EndIf}
    ${Loop}
    Pop $6
    Pop $5
    Pop $4
    Pop $3
FunctionEnd
!macroend
!insertmacro PATH_WITHOUT_FOLDER ""
!insertmacro PATH_WITHOUT_FOLDER "un."

; The registry value is read and written through strings of fewer than NSIS_MAX_STRLEN
; characters: a PATH read at that length may have been cut short, and writing it back would lose
; its end, so such a PATH, or one that would grow to it, is left alone.
!define /math PATH_LIMIT ${NSIS_MAX_STRLEN} - 1

!macro TELL_ENVIRONMENT_CHANGED
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
!macroend

Section "Velquist (required)" SectionProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "${FILES}\velquist.exe"
    File "${FILES}\velquist-cli.exe"
    File "${FILES}\README.txt"
    File "${FILES}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Velquist.lnk" "$INSTDIR\velquist.exe" "" "$INSTDIR\velquist.exe" 0

    WriteRegStr HKCU "${CLASSES}\.vqd" "" "${PROGID}"
    WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "Velquist decoder file"
    WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\velquist.exe,0"
    WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '${OPEN_COMMAND}'
    System::Call "shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Velquist"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velquist.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Add velquist-cli to PATH" SectionPath
    ReadRegStr $0 HKCU "Environment" "Path"
    Call PathWithoutFolder
    StrLen $3 $0
    StrLen $4 $INSTDIR
    IntOp $3 $3 + $4
    IntOp $3 $3 + 1
    ${If} $2 == "found"
        DetailPrint "$INSTDIR is on your PATH already"
    ${ElseIf} $3 >= ${PATH_LIMIT}
        MessageBox MB_OK|MB_ICONEXCLAMATION "Your PATH is too long for the installer to change \
it safely. To use velquist-cli from any folder, add $INSTDIR to it yourself." /SD IDOK
    ${Else}
        ${If} $0 == ""
            WriteRegExpandStr HKCU "Environment" "Path" "$INSTDIR"
        ${Else}
            WriteRegExpandStr HKCU "Environment" "Path" "$0;$INSTDIR"
        ${EndIf}
        ; Only an entry this installer added is taken away again.
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "AddedToPath" 1
        !insertmacro TELL_ENVIRONMENT_CHANGED
    ${EndIf}
SectionEnd

LangString DESC_SectionProgram ${LANG_ENGLISH} "velquist.exe and velquist-cli.exe, the README, \
the licence, a Start menu entry and the .vqd file type."
LangString DESC_SectionPath ${LANG_ENGLISH} "Adds the folder to your own PATH, so that \
velquist-cli works in any Command Prompt or PowerShell you open afterwards."
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} $(DESC_SectionProgram)
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionPath} $(DESC_SectionPath)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/PATH" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SectionPath} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\Velquist.lnk"

    ; The file type only while it is still Velquist's from this folder: another program, or
    ; another copy of Velquist, may have taken it since.
    ReadRegStr $0 HKCU "${CLASSES}\${PROGID}\shell\open\command" ""
    ${If} $0 == '${OPEN_COMMAND}'
        DeleteRegKey HKCU "${CLASSES}\${PROGID}"
        ReadRegStr $0 HKCU "${CLASSES}\.vqd" ""
        ${If} $0 == "${PROGID}"
            DeleteRegValue HKCU "${CLASSES}\.vqd" ""
            DeleteRegKey /ifempty HKCU "${CLASSES}\.vqd"
        ${EndIf}
        System::Call "shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)"
    ${EndIf}

    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "AddedToPath"
    ${If} $0 == 1
        ReadRegStr $0 HKCU "Environment" "Path"
        StrLen $3 $0
        Call un.PathWithoutFolder
        ${If} $3 >= ${PATH_LIMIT}
            DetailPrint "Your PATH is too long to change safely: remove $INSTDIR from it yourself"
        ${ElseIf} $2 == "found"
            ${If} $1 == ""
                DeleteRegValue HKCU "Environment" "Path"
            ${Else}
                WriteRegExpandStr HKCU "Environment" "Path" $1
            ${EndIf}
            !insertmacro TELL_ENVIRONMENT_CHANGED
        ${EndIf}
    ${EndIf}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    ; The folder goes last and only when empty: decoder files saved in it stay.
    Delete "$INSTDIR\velquist.exe"
    Delete "$INSTDIR\velquist-cli.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
