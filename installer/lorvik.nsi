; Lorvik's installer: one per-machine install under Program Files that every user's log-on
; starts (the machine's Run key), with a Start-menu entry and an uninstaller in Programs and
; Features. Built by makensis from installer/CMakeLists.txt, which defines:
;   VERSION         the product version, four numbers (1.0.0.2)
;   LORVIK_EXE      lorvik.exe to install
;   TOKENPROBE_EXE  tokenprobe.exe to install beside it
;   ICON            the program's icon
;   OUTFILE         the installer to write
;
; Command line (besides NSIS's own /S for silent and /D=DIR for the folder):
;   /SERVER=ADDRESS  write authipconf.ini naming ADDRESS (dotted IPv4) as the token server;
;                    /SERVER= with nothing after it removes the file, so the gateway is used.
;                    Without /SERVER= a silent install keeps the file as it is.
;
; Exit status: 0 installed, 1 cancelled, 2 failed (a bad /SERVER= address, Lorvik could not be
; ended, or a file could not be written).

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include nsDialogs.nsh

!define PRODUCT "Lorvik"
!define WINDOW_CLASS "LorvikMainWnd"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lorvik"
!define SETTING_FILE "authipconf.ini"
!define ENDSESSION_CLOSEAPP 0x1
; The task that starts Lorvik unelevated from the finish page.
!define START_TASK "Lorvik start"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText " "

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartLorvik

!insertmacro MUI_PAGE_DIRECTORY
Page custom ServerPage ServerPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; English first: it is the fallback on a system in neither language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString ServerTitle ${LANG_ENGLISH} "Token server"
LangString ServerTitle ${LANG_SIMPCHINESE} "验证码服务器"
LangString ServerSubtitle ${LANG_ENGLISH} "Where Lorvik asks for verification codes."
LangString ServerSubtitle ${LANG_SIMPCHINESE} "Lorvik 向哪台服务器获取验证码。"
LangString ServerText ${LANG_ENGLISH} "Leave the address empty and Lorvik asks the PC's default gateway, which is right in most cafés. Enter an address only when the token server runs on another machine."
LangString ServerText ${LANG_SIMPCHINESE} "地址留空时，Lorvik 向本机的默认网关获取验证码，大多数网吧都是这样。只有当验证码服务器是另一台机器时，才需要填写它的地址。"
LangString ServerLabel ${LANG_ENGLISH} "Token server address (for example 192.168.1.2):"
LangString ServerLabel ${LANG_SIMPCHINESE} "验证码服务器地址（例如 192.168.1.2）："
LangString BadAddress ${LANG_ENGLISH} '"$0" is not an address like 192.168.1.2: four numbers from 0 to 255, separated by dots.'
LangString BadAddress ${LANG_SIMPCHINESE} "“$0”不是 192.168.1.2 这样的地址：应为四个 0 到 255 之间的数，用点隔开。"
LangString StillRunning ${LANG_ENGLISH} "Lorvik is still running and could not be ended. Quit it (right-click its icon in the notification area) and try again."
LangString StillRunning ${LANG_SIMPCHINESE} "Lorvik 仍在运行，无法结束。请先退出它（右键单击通知区域中的图标），然后重试。"
LangString NotStarted ${LANG_ENGLISH} "Lorvik could not be started now (through the Task Scheduler). It starts by itself at the next log-on."
LangString NotStarted ${LANG_SIMPCHINESE} "现在无法（通过任务计划程序）启动 Lorvik。下次登录时它会自动启动。"
LangString WriteFailed ${LANG_ENGLISH} "Could not write $0."
LangString WriteFailed ${LANG_SIMPCHINESE} "无法写入 $0。"

Var Server       ; the address for authipconf.ini; empty: no file, the gateway is used
Var ServerChosen ; 1 when /SERVER= or the server page decided about the file
Var ServerField  ; the server page's text field

; Pushes 1 when the text on the stack is a dotted IPv4 address of four decimal numbers from
; 0 to 255, else 0. Leading zeros are refused: Windows reads "010" as octal.
!macro DefineCheckAddress un
Function ${un}CheckAddress
    Exch $0    ; the text
    Push $1    ; position
    Push $2    ; character
    Push $3    ; the current number's digits
    Push $4    ; dots seen
    Push $5    ; result
    Push $6
    StrCpy $1 0
    StrCpy $3 ""
    StrCpy $4 0
    StrCpy $5 0
    StrLen $6 $0
    ${If} $6 > 15
        Goto done
    ${EndIf}
    ${Do}
        StrCpy $2 $0 1 $1
        ${If} $2 == "."
        ${OrIf} $2 == ""
            StrLen $6 $3
            ${If} $6 == 0
                Goto done
            ${EndIf}
            StrCpy $6 $3 1
            ${If} $6 == "0"
                StrLen $6 $3
                ${If} $6 > 1
                    Goto done
                ${EndIf}
            ${EndIf}
            ${If} $3 > 255
                Goto done
            ${EndIf}
            ${If} $2 == ""
                ${Break}
            ${EndIf}
            IntOp $4 $4 + 1
            StrCpy $3 ""
        ${Else}
            ; A digit is the one character that reads back as itself as a number.
            IntOp $6 $2 + 0
            ${If} $6 != $2
                Goto done
            ${EndIf}
            StrCpy $3 "$3$2"
            StrLen $6 $3
            ${If} $6 > 3
                Goto done
            ${EndIf}
        ${EndIf}
        IntOp $1 $1 + 1
    ${Loop}
    ${If} $4 == 3
        StrCpy $5 1
    ${EndIf}
done:
    StrCpy $0 $5
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro DefineCheckAddress ""

; Pushes 1 when lorvik.exe in the install folder can be replaced (or is not there): a running
; program's file cannot be opened for writing. Waits up to five seconds for that.
!macro DefineWaitReplaceable un
Function ${un}WaitReplaceable
    Push $0
    Push $1
    StrCpy $1 0
    ${Do}
        ${IfNot} ${FileExists} "$INSTDIR\lorvik.exe"
            StrCpy $1 1
            ${Break}
        ${EndIf}
        ClearErrors
        FileOpen $0 "$INSTDIR\lorvik.exe" a
        ${IfNot} ${Errors}
            FileClose $0
            StrCpy $1 1
            ${Break}
        ${EndIf}
        IntOp $1 $1 - 1
        ${If} $1 < -50
            StrCpy $1 0
            ${Break}
        ${EndIf}
        Sleep 100
    ${Loop}
    StrCpy $0 $1
    Pop $1
    Exch $0
FunctionEnd
!macroend

; Ends every running Lorvik so that its file can be replaced or removed; pushes 1 when that
; worked. Each Lorvik window on this desktop is asked first, the way Windows asks a program
; to close for an update (WM_ENDSESSION with ENDSESSION_CLOSEAPP): Lorvik then removes its
; tray icon and ends. WM_CLOSE would only hide it to the tray. Copies that no message reaches
; (other users' sessions) are ended by force.
!macro DefineEndRunningCopies un
!insertmacro DefineWaitReplaceable "${un}"
Function ${un}EndRunningCopies
    Push $0
    Push $1
    StrCpy $1 0
    ${Do}
        FindWindow $0 "${WINDOW_CLASS}"
        ${If} $0 == 0
        ${OrIf} $1 >= 10
            ${Break}
        ${EndIf}
        SendMessage $0 ${WM_ENDSESSION} 1 ${ENDSESSION_CLOSEAPP} /TIMEOUT=2000
        Sleep 200
        IntOp $1 $1 + 1
    ${Loop}
    Call ${un}WaitReplaceable
    Pop $1
    ${If} $1 != 1
        DetailPrint "taskkill /F /IM lorvik.exe"
        nsExec::Exec '"$SYSDIR\taskkill.exe" /F /IM lorvik.exe'
        Pop $0
        Call ${un}WaitReplaceable
        Pop $1
    ${EndIf}
    StrCpy $0 $1
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro DefineEndRunningCopies ""
!insertmacro DefineEndRunningCopies "un."

; The address in an existing authipconf.ini: characters 10 to 24 of its first line, without
; the line end. Empty when there is no file.
Function ReadServerSetting
    Push $0
    Push $1
    StrCpy $1 ""
    ClearErrors
    FileOpen $0 "$INSTDIR\${SETTING_FILE}" r
    ${IfNot} ${Errors}
        FileRead $0 $1 1024
        FileClose $0
        StrCpy $1 $1 15 9
        ${Do}
            StrCpy $0 $1 1 -1
            ${If} $0 != "$\r"
            ${AndIf} $0 != "$\n"
            ${AndIf} $0 != " "
                ${Break}
            ${EndIf}
            StrCpy $1 $1 -1
        ${Loop}
    ${EndIf}
    StrCpy $0 $1
    Pop $1
    Exch $0
FunctionEnd

Function .onInit
    SetRegView 64
    SetShellVarContext all
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/SERVER=" $Server
    ${If} ${Errors}
        StrCpy $Server ""
        Return
    ${EndIf}
    StrCpy $ServerChosen 1
    ${If} $Server != ""
        Push $Server
        Call CheckAddress
        Pop $1
        ${If} $1 != 1
            StrCpy $0 $Server
            MessageBox MB_ICONSTOP "$(BadAddress)" /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
    ${EndIf}
FunctionEnd

Function ServerPage
    ${If} $ServerChosen != 1
        Call ReadServerSetting
        Pop $Server
    ${EndIf}
    !insertmacro MUI_HEADER_TEXT "$(ServerTitle)" "$(ServerSubtitle)"
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 36u "$(ServerText)"
    Pop $0
    ${NSD_CreateLabel} 0 44u 100% 12u "$(ServerLabel)"
    Pop $0
    ${NSD_CreateText} 0 58u 120u 12u "$Server"
    Pop $ServerField
    nsDialogs::Show
FunctionEnd

Function ServerPageLeave
    ${NSD_GetText} $ServerField $0
    ${If} $0 != ""
        Push $0
        Call CheckAddress
        Pop $1
        ${If} $1 != 1
            MessageBox MB_ICONEXCLAMATION "$(BadAddress)"
            Abort
        ${EndIf}
    ${EndIf}
    StrCpy $Server $0
    StrCpy $ServerChosen 1
FunctionEnd

; Lorvik must run as the logged-on user, not elevated like setup (an elevated Lorvik would
; open the vendor's page in an elevated browser). A Task Scheduler task whose principal is
; the interactive users' group at the least privilege runs it in the user's session without
; elevation, and needs no Explorer, which cafés often replace. The task has no trigger (the
; Run key starts Lorvik at log-on); the uninstaller removes it. Never started elevated: if the
; Task Scheduler is off, Lorvik waits for the next log-on.
Function StartLorvik
    InitPluginsDir
    StrCpy $0 "$PLUGINSDIR\start-task.xml"
    FileOpen $1 $0 w
    ${If} $1 == ""
        MessageBox MB_ICONINFORMATION "$(NotStarted)"
        Return
    ${EndIf}
    FileWriteUTF16LE /BOM $1 '<?xml version="1.0" encoding="UTF-16"?>$\r$\n'
    FileWriteUTF16LE $1 '<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">$\r$\n'
    FileWriteUTF16LE $1 '<Principals><Principal id="User"><GroupId>S-1-5-4</GroupId>'
    FileWriteUTF16LE $1 '<RunLevel>LeastPrivilege</RunLevel></Principal></Principals>$\r$\n'
    ; No time limit (the default ends a task after 72 hours), normal priority (not the 7 of tasks).
    FileWriteUTF16LE $1 '<Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>'
    FileWriteUTF16LE $1 '<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>'
    FileWriteUTF16LE $1 '<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>'
    FileWriteUTF16LE $1 '<ExecutionTimeLimit>PT0S</ExecutionTimeLimit><Priority>5</Priority>'
    FileWriteUTF16LE $1 '<AllowStartOnDemand>true</AllowStartOnDemand></Settings>$\r$\n'
    FileWriteUTF16LE $1 '<Actions Context="User"><Exec><Command>"$INSTDIR\lorvik.exe"</Command>'
    FileWriteUTF16LE $1 '<WorkingDirectory>$INSTDIR</WorkingDirectory></Exec></Actions>$\r$\n'
    FileWriteUTF16LE $1 '</Task>$\r$\n'
    FileClose $1
    nsExec::Exec '"$SYSDIR\schtasks.exe" /Create /TN "${START_TASK}" /XML "$0" /F'
    Pop $1
    ${If} $1 == 0
        nsExec::Exec '"$SYSDIR\schtasks.exe" /Run /TN "${START_TASK}"'
        Pop $1
    ${EndIf}
    ${If} $1 != 0
        MessageBox MB_ICONINFORMATION "$(NotStarted)"
    ${EndIf}
FunctionEnd

Function Fail
    ; $0 holds the message.
    MessageBox MB_ICONSTOP "$0" /SD IDOK
    SetErrorLevel 2
    Abort
FunctionEnd

Function WriteServerSetting
    ${If} $ServerChosen != 1
        Return
    ${EndIf}
    ${If} $Server == ""
        Delete "$INSTDIR\${SETTING_FILE}"
        Return
    ${EndIf}
    ClearErrors
    FileOpen $0 "$INSTDIR\${SETTING_FILE}" w
    ${If} ${Errors}
        StrCpy $0 "$INSTDIR\${SETTING_FILE}"
        StrCpy $0 "$(WriteFailed)"
        Call Fail
    ${EndIf}
    ; Lorvik reads the address from the tenth character of the first line on.
    FileWrite $0 "serverip=$Server$\r$\n"
    FileClose $0
FunctionEnd

Section "Lorvik"
    SetOutPath "$INSTDIR"
    Call EndRunningCopies
    Pop $0
    ${If} $0 != 1
        StrCpy $0 "$(StillRunning)"
        Call Fail
    ${EndIf}
    SetOverwrite try
    ClearErrors
    File "/oname=lorvik.exe" "${LORVIK_EXE}"
    File "/oname=tokenprobe.exe" "${TOKENPROBE_EXE}"
    ${If} ${Errors}
        StrCpy $0 "$INSTDIR\lorvik.exe"
        StrCpy $0 "$(WriteFailed)"
        Call Fail
    ${EndIf}
    Call WriteServerSetting
    WriteUninstaller "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\lorvik.exe"'
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\lorvik.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\lorvik.exe",0'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Uninstall"
    Call un.EndRunningCopies
    Pop $0
    ${If} $0 != 1
        MessageBox MB_ICONSTOP "$(StillRunning)" /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
    nsExec::Exec '"$SYSDIR\schtasks.exe" /Delete /TN "${START_TASK}" /F'
    Pop $0
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$INSTDIR\lorvik.exe"
    Delete "$INSTDIR\tokenprobe.exe"
    Delete "$INSTDIR\${SETTING_FILE}"
    Delete "$INSTDIR\uninstall.exe"
    ; Only when empty: files the owner put there stay.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
