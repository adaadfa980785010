; SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
; SPDX-License-Identifier: GPL-3.0-or-later
;
; The Windows installer, for one user and without an administrator: the program goes to
; %LOCALAPPDATA%\Programs\Wobblix Clock, a shortcut to the user's Start menu, and an entry to the user's
; Apps & features (HKCU), and, as the user chooses, the clock to the programs Windows starts when this
; user signs in (below). /S installs, and uninstalls, without a window. The uninstaller takes all of that
; away again and leaves the user's settings (HKCU\Software\VB and VBA Program Settings\Wobblix).
; A running clock of this user is asked to end first, as Options > Exit ends it, so that the program file
; can be replaced or removed.
;
; Built by the Windows build (packaging/windows/CMakeLists.txt), which defines
;   VERSION  the version, as the program's version resource says it ("1.00")
;   PROGRAM  the program file, WobblixClock.exe
;   OUTFILE  the installer to write
; Paths without a folder are relative to this script's folder.
;
; Start at sign-in: the value "Wobblix Clock" of the user's Run key, the command line Windows runs at each
; sign-in of this user (the program's quoted path: no arguments, the clock starts as its Start-menu
; shortcut starts it). Task Manager and Settings, Apps, Startup list it under the program's own name and
; icon; turning it off there leaves the Run value and writes a record of the same name under
; StartupApproved\Run, whose first byte has its lowest bit set (03 00 00 00 and the time it was turned
; off; 02 and zeros when turned on again; no record at all is on). The installer asks on a page of its
; own, before it copies the files; /AUTOSTART=0 or 1 gives the answer, for a silent run too. An update is
; an install over an earlier one, which has its entry in Apps & features. What an install leaves:
;   first install         on, unless the answer is 0
;   update, no answer     the entry as it stands: on; off (no value, as an install from before the
;                         installer asked left it); or turned off in Task Manager, its record kept
;   answer 1              on: the value written, a record that turned it off removed
;   answer 0              no value and no record, except that an entry turned off in Task Manager stays
;                         as it is (it is off already)
; Where the value stays, it names this install's program.
; An interactive run's check box starts as the table leaves the entry (an /AUTOSTART given included), and
; is then the answer. The uninstaller removes the value and its record.

Unicode true
SetCompressor /SOLID lzma
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include nsDialogs.nsh

!define NAME "Wobblix Clock"
!define PUBLISHER "Wobblix Clock developers"
!define EXE "WobblixClock.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\WobblixClock"
; The clock's message-only window (src/platform/desktop/win32/ApplicationService.cpp): its class, and its
; name, "Wobblix Clock " and the user's SID.
!define CLOCK_CLASS "WobblixClockApplication"
; How long the running clock has to end, in steps of a quarter of a second.
!define CLOSE_STEPS 40
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define STARTUP_APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
!define SIGN_IN_VALUE "${NAME}"
!define SIGN_IN_WHY "An alarm rings only while the clock runs. Started each time you sign in, it is running for the next alarm after Windows has restarted."
!define SIGN_IN_CHANGE "You can turn it off and on again later in Task Manager, Startup apps, or in Settings, Apps, Startup."
!define SIGN_IN_NOT_WRITTEN "Windows did not let Setup add ${NAME} to the programs that start when you sign in."

Name "${NAME}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${NAME} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "../icons/wobblix-clock.ico"
!define MUI_UNICON "../icons/wobblix-clock.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${NAME}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "../../LICENSES/GPL-3.0-or-later.txt"
!insertmacro MUI_PAGE_DIRECTORY
Page custom SignInPage
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The sign-in entry before this install: "none" (no Run value), "on", or "off" (turned off in Task Manager).
Var SignInEntry
; 1: Windows starts the clock at sign-in after this install; 0: it does not.
Var SignInChoice
Var SignInCheckBox

Function .onInit
    Call ReadSignInEntry
    ${If} $SignInEntry == "on"
        StrCpy $SignInChoice 1
    ${ElseIf} $SignInEntry == "off"
        StrCpy $SignInChoice 0
    ${Else}
        ; No entry: a first install starts the clock at sign-in; an earlier install without the entry
        ; was left off.
        ClearErrors
        ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
        ${If} ${Errors}
            StrCpy $SignInChoice 1
        ${Else}
            StrCpy $SignInChoice 0
        ${EndIf}
    ${EndIf}

    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AUTOSTART" $1
    ${IfNot} ${Errors}
        ${If} $1 == "=1"
            StrCpy $SignInChoice 1
        ${ElseIf} $1 == "=0"
            StrCpy $SignInChoice 0
        ${Else}
            ; Anything else is a mistake in the command, not an answer: nothing is installed.
            MessageBox MB_OK|MB_ICONSTOP "/AUTOSTART takes 0 or 1: /AUTOSTART=0 or /AUTOSTART=1." /SD IDOK
            Abort
        ${EndIf}
    ${EndIf}
FunctionEnd

Function ReadSignInEntry
    Push $0
    Push $1
    Push $2
    StrCpy $SignInEntry "none"
    ClearErrors
    ReadRegStr $0 HKCU "${RUN_KEY}" "${SIGN_IN_VALUE}"
    ${IfNot} ${Errors}
        StrCpy $SignInEntry "on"
        ; Task Manager's record is binary (12 bytes), which ReadRegStr cannot read.
        System::Alloc 64
        Pop $0
        ; HKEY_CURRENT_USER, RRF_RT_REG_BINARY
        System::Call 'advapi32::RegGetValueW(p 0x80000001, w "${STARTUP_APPROVED_KEY}", w "${SIGN_IN_VALUE}", i 0x8, p 0, p r0, *i 64) i .r1'
        ${If} $1 = 0
            System::Call '*$0(&i1 .r2)'
            IntOp $2 $2 & 1
            ${If} $2 = 1
                StrCpy $SignInEntry "off"
            ${EndIf}
        ${EndIf}
        System::Free $0
    ${EndIf}
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

Function SignInPage
    !insertmacro MUI_HEADER_TEXT "Start at Sign-in" "Choose whether Windows starts ${NAME} when you sign in."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 30u "${SIGN_IN_WHY}"
    Pop $0
    ${NSD_CreateCheckbox} 0 36u 100% 12u "Start ${NAME} when I sign in"
    Pop $SignInCheckBox
    ${If} $SignInChoice = 1
        ${NSD_Check} $SignInCheckBox
    ${EndIf}
    ${NSD_OnClick} $SignInCheckBox SignInCheckBoxClicked
    ${NSD_CreateLabel} 0 60u 100% 30u "${SIGN_IN_CHANGE}"
    Pop $0
    nsDialogs::Show
FunctionEnd

; Kept as it is clicked, so that Back and Next again show the box as the user left it.
Function SignInCheckBoxClicked
    Pop $0
    ${NSD_GetState} $SignInCheckBox $SignInChoice
FunctionEnd

; Leaves the entry as the table at the top says.
Function WriteSignInEntry
    ${If} $SignInChoice = 0
    ${AndIf} $SignInEntry != "off"
        DeleteRegValue HKCU "${RUN_KEY}" "${SIGN_IN_VALUE}"
        DeleteRegValue HKCU "${STARTUP_APPROVED_KEY}" "${SIGN_IN_VALUE}"
        Return
    ${EndIf}
    ; On, or turned off in Task Manager: either way the value names this install's program.
    ClearErrors
    WriteRegStr HKCU "${RUN_KEY}" "${SIGN_IN_VALUE}" '"$INSTDIR\${EXE}"'
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONEXCLAMATION "${SIGN_IN_NOT_WRITTEN}" /SD IDOK
    ${EndIf}
    ${If} $SignInChoice = 1
    ${AndIf} $SignInEntry != "on"
        DeleteRegValue HKCU "${STARTUP_APPROVED_KEY}" "${SIGN_IN_VALUE}"
    ${EndIf}
FunctionEnd

; Ends the clock this user runs in this session, if one runs: its message-only window, found by class and
; by the name that holds the user's SID, gives its process; that process's windows titled "Wobblix Clock"
; (the clock's window, and a message box it may show) get WM_CLOSE, which ends the clock as Exit does,
; until the process is gone. A clock that does not end in time is the user's to close: Retry or Cancel,
; and a silent run cancels.
!macro CLOSE_CLOCK un
Function ${un}CloseClock
    Push $0
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    ; The user's SID as text, as the clock names its window with it.
    StrCpy $5 ""
    System::Call 'kernel32::GetCurrentProcess() p .r0'
    System::Call 'advapi32::OpenProcessToken(p r0, i 8, *p .r1) i .r2' ; TOKEN_QUERY
    ${If} $2 <> 0
        ; 256 bytes for the token's user and its SID (a struct "*(&i1 256)" would be one byte of value 256).
        System::Alloc 256
        Pop $3
        System::Call 'advapi32::GetTokenInformation(p r1, i 1, p r3, i 256, *i .r4) i .r2' ; TokenUser
        ${If} $2 <> 0
            System::Call '*$3(p .r4)'
            System::Call 'advapi32::ConvertSidToStringSidW(p r4, *p .r0) i .r2'
            ${If} $2 <> 0
                ; Copied up to its end, not a fixed length past the end of its allocation.
                System::Call 'kernel32::lstrcpynW(w .r5, p r0, i ${NSIS_MAX_STRLEN})'
                System::Call 'kernel32::LocalFree(p r0)'
            ${EndIf}
        ${EndIf}
        System::Free $3
        System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    ${If} $5 == ""
        System::Call 'advapi32::GetUserNameW(w .r5, *i 257)'
    ${EndIf}

    retry:
    System::Call 'user32::FindWindowExW(p -3, p 0, w "${CLOCK_CLASS}", w "${NAME} $5") p .r0' ; HWND_MESSAGE
    ${If} $0 P<> 0
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2' ; SYNCHRONIZE
        ${If} $2 P<> 0
            DetailPrint "Closing the running ${NAME}"
            StrCpy $3 0
            closing:
            ; Every top-level window of that process with the clock's title, shown or hidden.
            StrCpy $4 0
            ${Do}
                FindWindow $4 "" "${NAME}" "" $4
                ${If} $4 = 0
                    ${Break}
                ${EndIf}
                System::Call 'user32::GetWindowThreadProcessId(p r4, *i .r0)'
                ${If} $0 = $1
                    System::Call 'user32::PostMessageW(p r4, i 0x0010, p 0, p 0)' ; WM_CLOSE
                ${EndIf}
            ${Loop}
            System::Call 'kernel32::WaitForSingleObject(p r2, i 250) i .r0'
            IntOp $3 $3 + 1
            ${If} $0 <> 0
            ${AndIf} $3 < ${CLOSE_STEPS}
                Goto closing
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p r2)'
            ${If} $0 <> 0 ; still running
                MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
                    "${NAME} is still running. Close it (Options > Exit), then choose Retry." \
                    /SD IDCANCEL IDRETRY retry
                Abort "${NAME} is still running."
            ${EndIf}
        ${EndIf}
    ${EndIf}
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_CLOCK ""
!insertmacro CLOSE_CLOCK "un."

Section "${NAME}"
    Call CloseClock
    SetOutPath "$INSTDIR"
    File "/oname=${EXE}" "${PROGRAM}"
    File "/oname=LICENSE.txt" "../../LICENSES/GPL-3.0-or-later.txt"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
    Call WriteSignInEntry

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; In KiB, as Apps & features reads it.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
    Call un.CloseClock
    ; First, so that nothing starts the program at sign-in while it is being removed.
    DeleteRegValue HKCU "${RUN_KEY}" "${SIGN_IN_VALUE}"
    DeleteRegValue HKCU "${STARTUP_APPROVED_KEY}" "${SIGN_IN_VALUE}"
    Delete "$SMPROGRAMS\${NAME}.lnk"
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; The settings under HKCU\Software\VB and VBA Program Settings\Wobblix stay, for a later install.
SectionEnd
