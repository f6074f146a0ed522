; Installs Tavolin for the current user alone, without administrator
; rights, into %LOCALAPPDATA%\Programs\Tavolin with a Start menu entry.
; The program keeps its names beside itself: an update and the uninstaller
; leave fnames.dat, mnames.dat and tavolin.ini as they are.
; makensis -DVERSION=4.4 -DSOURCE=<program folder> -DICON=<tavolin.ico> -DOUTFILE=<setup.exe>
;          -DLICENSE=<LIZENZEN.txt as UTF-16 with BOM> tavolin.nsi
; A 64-bit installer for a 64-bit program (it also runs where Wine has no
; 32-bit part).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavolin"

Name "Tavolin ${VERSION}"
BrandingText "Tavolin ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tavolin"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1031 "ProductName" "Tavolin"
VIAddVersionKey /LANG=1031 "FileDescription" "Tavolin ${VERSION} installieren"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "CompanyName" "Zendrik"
VIAddVersionKey /LANG=1031 "LegalCopyright" "Zendrik"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tavolin.exe"
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Tavolin wird aus diesem Ordner entfernt. Deine Namen und Einstellungen \
    (fnames.dat, mnames.dat, tavolin.ini) bleiben darin liegen, ebenso alles in $LOCALAPPDATA\Tavolin."
; Where the names and Qt come from and under which licences, before anything
; is installed; the texts are installed with the program as well.
!define MUI_LICENSEPAGE_TEXT_TOP "Herkunft und Lizenzen der Teile von Tavolin"
!define MUI_LICENSEPAGE_BUTTON "Weiter >"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Die vollen Lizenztexte werden im Ordner lizenzen mit installiert."
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

; A running Tavolin (it holds the mutex "Tavolin.Laeuft" while it runs)
; must not have its files replaced or removed under it. The player closes
; it (it saves as it closes) or gives up; a silent run gives up at once.
!macro WaitUntilClosed
    ${Do}
        System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Tavolin.Laeuft") p .r0'
        ${If} $0 == 0
            ${Break}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Tavolin läuft noch. Schließe Tavolin bitte und klicke \
            dann auf $\"Wiederholen$\"." /SD IDCANCEL IDRETRY +2
        Abort
    ${Loop}
!macroend

Section "Tavolin"
    SetShellVarContext current
    !insertmacro WaitUntilClosed
    SetOutPath "$INSTDIR"
    File /r /x fnames.dat /x mnames.dat "${SOURCE}\*.*"
    ; The shipped databases only where the player has none yet.
    SetOverwrite off
    File "${SOURCE}\fnames.dat"
    File "${SOURCE}\mnames.dat"
    SetOverwrite on

    WriteUninstaller "$INSTDIR\Deinstallieren.exe"
    CreateShortcut "$SMPROGRAMS\Tavolin.lnk" "$INSTDIR\tavolin.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tavolin"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Zendrik"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavolin.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Deinstallieren.exe"'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Removes the program and leaves the player's names and settings; the folder
; goes only when nothing of the player's is left in it.
Section "Uninstall"
    SetShellVarContext current
    !insertmacro WaitUntilClosed
    Delete "$SMPROGRAMS\Tavolin.lnk"
    Delete "$INSTDIR\tavolin.exe"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\LIESMICH.txt"
    Delete "$INSTDIR\LIZENZEN.txt"
    RMDir /r "$INSTDIR\lizenzen"
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    RMDir /r "$INSTDIR\translations"
    Delete "$INSTDIR\Deinstallieren.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
