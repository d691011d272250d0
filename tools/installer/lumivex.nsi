; The Windows installer of Lumivex, built by tools/dist.sh with makensis. It is given on the command line:
;   VERSION      four-part version, e.g. 1.0.0.0
;   OUTFILE      the installer to write
;   EXE32        the 32-bit Lumivex.exe (always)
;   EXE64        the 64-bit Lumivex.exe (optional: without it every Windows gets the 32-bit build)
;   THEMES_NSH   generated list of the first-run theme files (install and uninstall lines)
;   SIGN         optional: the signing script (tools/sign.sh), which then signs the uninstaller before it is packed and the installer
;   TARGET       optional: makensis's target, x86-unicode unless given; the installer test builds an amd64-unicode
;                installer where the machine cannot run 32-bit programs (the one shipped is always 32-bit)
;
; Installs for all users into Program Files (the 64-bit build on 64-bit Windows), with a Start-menu shortcut.
; The first-run theme files and the optional "start with Windows" entry belong to the user who installs.
; Silent use: Setup.exe /S [/NOAUTOSTART] [/LANGUAGE=en|zh] [/D=folder]; Uninstall.exe /S [/REMOVESETTINGS].
;
; The installer first asks for its language (English or 简体中文); its pages, the uninstaller's and the program's
; "Language" setting follow it. The setting is written only into a settings file the installer creates for the
; installing user (an existing file keeps its choice); a silent install writes it only when /LANGUAGE= asks.

!ifdef TARGET
    Target ${TARGET}
!else
    Unicode true
!endif
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include x64.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include "${THEMES_NSH}"

!ifdef SIGN
    !uninstfinalize 'bash "${SIGN}" "%1"' = 0
    !finalize 'bash "${SIGN}" "%1"' = 0
!endif

!define PRODUCT "Lumivex"
!define PUBLISHER "Brindell"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivex"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define DATA_FOLDER "$APPDATA\Brindell\Lumivex"
!define MAIN_WINDOW_CLASS "TFrmLumivexMain"
!define SETTINGS_FILE "${DATA_FOLDER}\Lumivex.Settings"
; Where the installer notes its language for the uninstaller.
!define LANGUAGE_KEY "Software\${PUBLISHER}\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; Empty on purpose: .onInit picks Program Files of the right width unless /D= or an earlier install says otherwise.
InstallDir ""
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Lumivex.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(TEXT_START_NOW)"
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${LANGUAGE_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Installer Language"
!define MUI_LANGDLL_ALWAYSSHOW
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_RESERVEFILE_LANGDLL
!include "lumivex_texts.nsh"

; The language value a silent install was given (/LANGUAGE=en or zh), or empty.
Var SilentLanguage

; Creates the installing user's settings file with the chosen language, as the program writes its files: UTF-16
; little-endian after a byte-order mark, so that the Chinese section names it adds later survive on every code page.
; A file that is there already keeps everything, its language included.
Function WriteLanguageSetting
    IfFileExists "${SETTINGS_FILE}" done
    StrCpy $1 "$(PROGRAM_LANGUAGE)"
    ${If} ${Silent}
        StrCmp $SilentLanguage "" done
        StrCpy $1 $SilentLanguage
    ${EndIf}
    CreateDirectory "${DATA_FOLDER}"
    ClearErrors
    FileOpen $0 "${SETTINGS_FILE}" w
    IfErrors done
    FileWriteWord $0 0xFEFF
    FileWriteUTF16LE $0 "[General]$\r$\nLanguage=$1$\r$\n"
    FileClose $0
    done:
FunctionEnd

; Ends every copy of Lumivex running in this session the way a log-off does, so that it saves its settings, and
; waits until its process is gone (its executable is then free to replace or delete). A copy that refuses or
; hangs is ended after ten seconds.
!macro DEFINE_END_RUNNING_COPY un
Function ${un}EndRunningCopy
    Push $0
    Push $1
    Push $2
    Push $3
    StrCpy $3 0
    ${Do}
        FindWindow $0 "${MAIN_WINDOW_CLASS}" ""
        ${If} $0 == 0
        ${OrIf} $3 >= 16
            ${Break}
        ${EndIf}
        IntOp $3 $3 + 1
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1)'
        ; SYNCHRONIZE | PROCESS_TERMINATE
        System::Call 'kernel32::OpenProcess(i 0x00100001, i 0, i r1) p .r2'
        SendMessage $0 ${WM_QUERYENDSESSION} 0 0 $1 /TIMEOUT=5000
        SendMessage $0 ${WM_ENDSESSION} 1 0 /TIMEOUT=5000
        ${If} $2 <> 0
            System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i .r1'
            ${If} $1 <> 0
                System::Call 'kernel32::TerminateProcess(p r2, i 1)'
                System::Call 'kernel32::WaitForSingleObject(p r2, i 5000)'
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p r2)'
        ${Else}
            ; Not allowed to wait on it: give the window time to go away.
            StrCpy $1 0
            ${Do}
                IsWindow $0 0 +2
                Sleep 100
                IntOp $1 $1 + 1
            ${LoopWhile} $1 < 100
        ${EndIf}
    ${Loop}
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_END_RUNNING_COPY ""
!insertmacro DEFINE_END_RUNNING_COPY "un."

!macro USE_NATIVE_VIEWS
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
!macroend

Section "Lumivex" SecProgram
    SectionIn RO
    Call EndRunningCopy
    SetOutPath "$INSTDIR"
    !ifdef EXE64
        ${If} ${RunningX64}
            File "/oname=Lumivex.exe" "${EXE64}"
        ${Else}
            File "/oname=Lumivex.exe" "${EXE32}"
        ${EndIf}
    !else
        File "/oname=Lumivex.exe" "${EXE32}"
    !endif
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Lumivex.exe" "" "$INSTDIR\Lumivex.exe" 0

    ; The first-run theme files go to the installing user's themes folder. A file the user already has (perhaps
    ; edited) is kept.
    SetShellVarContext current
    SetOutPath "${DATA_FOLDER}\Themes"
    SetOverwrite off
    !insertmacro LumivexInstallThemes
    SetOverwrite on
    Call WriteLanguageSetting
    SetOutPath "$INSTDIR"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lumivex.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(TEXT_AUTOSTART)" SecAutostart
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\Lumivex.exe"'
SectionEnd

Section "un.Lumivex" SecUnProgram
    SectionIn RO
    Call un.EndRunningCopy
    Delete "$INSTDIR\Lumivex.exe"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    SetShellVarContext current
    ; Only an entry that starts this copy: a portable copy elsewhere may have one of its own.
    ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
    ${If} $0 == '"$INSTDIR\Lumivex.exe"'
        DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    ${EndIf}

    ; The theme files the installer put there; themes the user saved stay with the settings.
    !insertmacro LumivexUninstallThemes
    RMDir "${DATA_FOLDER}\Themes"
    RMDir "${DATA_FOLDER}"
    RMDir "$APPDATA\Brindell"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegValue HKCU "${LANGUAGE_KEY}" "Installer Language"
    DeleteRegKey /ifempty HKCU "${LANGUAGE_KEY}"
    DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
SectionEnd

Section /o "un.$(TEXT_REMOVE_SETTINGS)" SecUnSettings
    SetShellVarContext current
    Delete "${DATA_FOLDER}\Lumivex.Settings"
    RMDir /r "${DATA_FOLDER}\Themes"
    RMDir "${DATA_FOLDER}"
    RMDir "$APPDATA\Brindell"
SectionEnd

; The functions that select sections come after them, where their indexes are known.
Function .onInit
    ; Asked before anything else (a silent install keeps the system's language for its own texts).
    !insertmacro MUI_LANGDLL_DISPLAY
    !insertmacro USE_NATIVE_VIEWS
    ${If} $INSTDIR == ""
        ReadRegStr $INSTDIR HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${EndIf}
    ${If} $INSTDIR == ""
        !ifdef EXE64
            ${If} ${RunningX64}
                StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
            ${Else}
                StrCpy $INSTDIR "$PROGRAMFILES32\${PRODUCT}"
            ${EndIf}
        !else
            StrCpy $INSTDIR "$PROGRAMFILES32\${PRODUCT}"
        !endif
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/NOAUTOSTART" $1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecAutostart}
    ${EndIf}
    ${GetOptions} $0 "/LANGUAGE=" $1
    ${If} $1 == "en"
    ${OrIf} $1 == "zh"
        StrCpy $SilentLanguage $1
    ${EndIf}
FunctionEnd

Function un.onInit
    ; The language the installer was run in.
    !insertmacro MUI_UNGETLANGUAGE
    !insertmacro USE_NATIVE_VIEWS
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecUnSettings}
    ${EndIf}
FunctionEnd
