; Gridsmith's installer. It copies Gridsmith.8bf into a Gridsmith subfolder of
; the plug-in folders of the Photoshop versions it finds (and of a folder the
; user chooses), keeps the README, the licences and the uninstaller in the
; program folder, and remembers every folder in its Add/Remove Programs entry,
; so that upgrades and the uninstaller touch exactly what it wrote.
;
;   makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DSTAGE=DIR -DICON=FILE -DOUTFILE=FILE installer.nsi
;
; STAGE holds Gridsmith.8bf, README.txt, README-en.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt.
;
; Command line: /S silent; /PLUGINFOLDERS=A;B;... the plug-in folders to
; install into instead of the ones found ("*" stands for those); /D=DIR the
; program folder (last). Exit codes: 0 installed, 1 cancelled, 2 failed (a
; file stayed in use or could not be written), 4 a newer version is installed,
; 5 no plug-in folder, or one named does not exist.

!ifndef VERSION | STAGE | ICON | OUTFILE
  !error "define VERSION, STAGE, ICON and OUTFILE"
!endif

Unicode true
; A 64-bit installer for a 64-bit plug-in: 32-bit Windows refuses to start it.
Target amd64-unicode
ManifestSupportedOS all
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
AllowSkipFiles off

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Gridsmith"
!define PHOTOSHOP_KEY "SOFTWARE\Adobe\Photoshop"
!define PLUGIN "Gridsmith.8bf"
; The check boxes the folder page has room for.
!define MAX_FOLDERS 8

Name "Gridsmith ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Gridsmith"
BrandingText "Brackenhold"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Gridsmith"
VIAddVersionKey /LANG=0 "CompanyName" "Brackenhold"
VIAddVersionKey /LANG=0 "FileDescription" "Gridsmith ${VERSION} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) Brackenhold, MIT licence"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include nsDialogs.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

Page custom FoldersPage FoldersPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one for systems in neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"
!include "${__FILEDIR__}\installer_strings.nsh"

; The folder list lives in an INI file in $PLUGINSDIR: section F<i>
; has Path, Label, Checked, Remembered (from the installation being replaced),
; Created (the Gridsmith subfolder is ours to remove) and the check box's
; Hwnd; [Folders] Count; [Other] the user's own folder.
Var Folders
Var OldVersion
Var OldLocation
Var OtherCheck
Var OtherText

; ---------------------------------------------------------------- shared

; Returns once file $0 (if it exists) can be opened for writing and deleting
; by this run alone; until then it names the file and offers retry or cancel.
!macro WAIT_UNTIL_FREE un
Function ${un}WaitUntilFree
  ${IfNot} ${FileExists} "$0"
    Return
  ${EndIf}
  ${Do}
    System::Call 'kernel32::CreateFileW(w r0, i 0x40010000, i 0, p 0, i 3, i 0, p 0) p .r9'
    ${If} $9 P<> -1
      System::Call 'kernel32::CloseHandle(p r9)'
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(FileInUse)" /SD IDCANCEL IDRETRY +2
    Call ${un}Cancel
  ${Loop}
FunctionEnd

Function ${un}Cancel
  ${If} ${Silent}
    SetErrorLevel 2
  ${Else}
    SetErrorLevel 1
  ${EndIf}
  Abort
FunctionEnd
!macroend
!insertmacro WAIT_UNTIL_FREE ""
!insertmacro WAIT_UNTIL_FREE "un."

; $0 without its trailing backslashes.
Function TrimSlash
  ${Do}
    StrCpy $9 "$0" "" -1
    ${If} $9 != "\"
    ${OrIf} $0 == ""
      Return
    ${EndIf}
    StrCpy $0 "$0" -1
  ${Loop}
FunctionEnd

; ---------------------------------------------------------------- folders

; Adds folder $0 (trimmed) labelled $1 unless the list has it; $2 is "" for a
; folder found now, or the remembered Created flag. Leaves its index in $8.
Function AddFolder
  Call TrimSlash
  ReadINIStr $7 $Folders Folders Count
  IntOp $7 $7 + 0
  ${For} $8 1 $7
    ReadINIStr $9 $Folders F$8 Path
    ${If} $9 == $0  ; case-insensitive, as Windows paths are
      Goto known
    ${EndIf}
  ${Next}
  ${If} $7 >= ${MAX_FOLDERS}
    StrCpy $8 0
    Return
  ${EndIf}
  IntOp $8 $7 + 1
  WriteINIStr $Folders Folders Count $8
  WriteINIStr $Folders F$8 Path $0
  WriteINIStr $Folders F$8 Label $1
  WriteINIStr $Folders F$8 Checked 1
known:
  ${If} $2 != ""
    WriteINIStr $Folders F$8 Remembered 1
    WriteINIStr $Folders F$8 Created $2
  ${EndIf}
  ; A remembered folder found again is shown under the host's name.
  ReadINIStr $9 $Folders F$8 Label
  ${IfThen} $9 == "$(EarlierFolder)" ${|} WriteINIStr $Folders F$8 Label $1 ${|}
FunctionEnd

; The folders of the installation being replaced (first, so that they always
; have room), the Photoshop versions in the 64-bit registry and the shared
; plug-in folder of the current ones.
Function FindFolders
  ReadRegDWORD $3 HKLM "${UNINSTALL_KEY}" "PluginFolderCount"
  ${For} $4 1 $3
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "PluginFolder$4"
    ReadRegDWORD $2 HKLM "${UNINSTALL_KEY}" "PluginSubfolderCreated$4"
    IntOp $2 $2 + 0
    ${If} ${FileExists} "$0\*.*"
      StrCpy $1 "$(EarlierFolder)"
      Call AddFolder
    ${EndIf}
  ${Next}
  StrCpy $2 ""
  StrCpy $3 0
  ${Do}
    EnumRegKey $4 HKLM "${PHOTOSHOP_KEY}" $3
    ${IfThen} $4 == "" ${|} ${ExitDo} ${|}
    IntOp $3 $3 + 1
    ReadRegStr $0 HKLM "${PHOTOSHOP_KEY}\$4" "ApplicationPath"
    Call TrimSlash
    StrCpy $5 $0
    ReadRegStr $0 HKLM "${PHOTOSHOP_KEY}\$4" "PluginPath"
    ${If} $0 == ""
      ${IfThen} $5 == "" ${|} ${Continue} ${|}
      StrCpy $0 "$5\Plug-ins"
    ${EndIf}
    ; Named as its folder is ("Adobe Photoshop 2025"), else by its key.
    StrCpy $1 "Photoshop $4"
    ${IfThen} $5 != "" ${|} ${GetFileName} $5 $1 ${|}
    ; A version uninstalled without its key leaves no folder behind.
    ${If} ${FileExists} "$0\*.*"
      Call AddFolder
    ${EndIf}
  ${Loop}
  StrCpy $0 "$COMMONFILES64\Adobe\Plug-Ins\CC"
  ${If} ${FileExists} "$0\*.*"
    StrCpy $1 "$(SharedFolder)"
    Call AddFolder
  ${EndIf}
FunctionEnd

; Marks folder $0 chosen, adding it; a folder that does not exist ends the run.
Function ChooseNamedFolder
  Call TrimSlash
  ${IfNot} ${FileExists} "$0\*.*"
    MessageBox MB_OK|MB_ICONSTOP "$(FolderMissing)" /SD IDOK
    SetErrorLevel 5
    Quit
  ${EndIf}
  StrCpy $1 "$(OtherHost)"
  StrCpy $2 ""
  Call AddFolder
  ${If} $8 == 0
    MessageBox MB_OK|MB_ICONSTOP "$(TooManyFolders)" /SD IDOK
    SetErrorLevel 5
    Quit
  ${EndIf}
  WriteINIStr $Folders F$8 Checked 1
FunctionEnd

; /PLUGINFOLDERS=A;B: exactly these folders, "*" standing for those found.
Function ApplyFolderSwitch
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PLUGINFOLDERS=" $5
  ${IfThen} ${Errors} ${|} Return ${|}
  ReadINIStr $6 $Folders Folders Count
  IntOp $6 $6 + 0
  ${For} $4 1 $6
    WriteINIStr $Folders F$4 Checked 0
  ${Next}
  ${WordFind} "$5" ";" "#" $3
  ${If} $3 == $5  ; no separator: one item
    StrCpy $3 1
  ${EndIf}
  ${For} $4 1 $3
    ${WordFind} "$5" ";" "+$4" $0
    ${If} $0 == "*"
      ${For} $7 1 $6
        WriteINIStr $Folders F$7 Checked 1
      ${Next}
    ${ElseIf} $0 != ""
      Call ChooseNamedFolder
    ${EndIf}
  ${Next}
FunctionEnd

; $0 = the number of chosen folders.
Function CountChosen
  StrCpy $0 0
  ReadINIStr $7 $Folders Folders Count
  IntOp $7 $7 + 0
  ${For} $8 1 $7
    ReadINIStr $9 $Folders F$8 Checked
    ${IfThen} $9 == 1 ${|} IntOp $0 $0 + 1 ${|}
  ${Next}
FunctionEnd

Function .onInit
  SetRegView 64
  SetShellVarContext all
  InitPluginsDir
  StrCpy $Folders "$PLUGINSDIR\folders.ini"
  WriteINIStr $Folders Folders Count 0

  ReadRegStr $OldVersion HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $OldVersion != ""
    ${VersionCompare} $OldVersion "${VERSION}" $0
    ${If} $0 == 1
      MessageBox MB_YESNO|MB_ICONEXCLAMATION "$(NewerInstalled)" /SD IDNO IDYES +3
      SetErrorLevel 4
      Quit
    ${EndIf}
    ; An upgrade stays where the installation is, unless /D= says otherwise.
    ReadRegStr $OldLocation HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $OldLocation != ""
    ${AndIf} $INSTDIR == "$PROGRAMFILES64\Gridsmith"
      StrCpy $INSTDIR $OldLocation
    ${EndIf}
  ${EndIf}

  Call FindFolders
  Call ApplyFolderSwitch
  ${If} ${Silent}
    Call CountChosen
    ${If} $0 == 0
      SetErrorLevel 5
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- the page

Function FoldersPage
  !insertmacro MUI_HEADER_TEXT "$(FoldersTitle)" "$(FoldersSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ReadINIStr $6 $Folders Folders Count
  IntOp $6 $6 + 0
  ${If} $6 == 0
    StrCpy $1 "$(NoHostFound)"
  ${Else}
    StrCpy $1 "$(ChooseFolders)"
  ${EndIf}
  ${If} $OldVersion == "${VERSION}"
    StrCpy $1 "$1$\r$\n$(RepairNote)"
  ${ElseIf} $OldVersion != ""
    StrCpy $1 "$1$\r$\n$(UpgradeNote)"
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 20u "$1"
  Pop $0

  ; One line a folder: its check box and name, then its path, shortened in
  ; the middle when it is long.
  StrCpy $5 22
  ${For} $4 1 $6
    ReadINIStr $1 $Folders F$4 Label
    ${NSD_CreateCheckbox} 0 $5u 100u 10u "$1"
    Pop $0
    WriteINIStr $Folders F$4 Hwnd $0
    ReadINIStr $1 $Folders F$4 Checked
    ${IfThen} $1 == 1 ${|} ${NSD_Check} $0 ${|}
    ReadINIStr $1 $Folders F$4 Path
    IntOp $2 $5 + 1
    nsDialogs::CreateControl STATIC ${WS_CHILD}|${WS_VISIBLE}|${SS_PATHELLIPSIS}|${SS_NOPREFIX} 0 102u $2u 198u 9u "$1"
    Pop $0
    IntOp $5 $5 + 10
  ${Next}

  ${NSD_CreateCheckbox} 0 104u 100% 10u "$(OtherFolder)"
  Pop $OtherCheck
  ReadINIStr $0 $Folders Other Checked
  ${If} $0 == 1
  ${OrIf} $6 == 0
    ${NSD_Check} $OtherCheck
  ${EndIf}
  ReadINIStr $0 $Folders Other Path
  ${NSD_CreateDirRequest} 12u 117u 218u 12u "$0"
  Pop $OtherText
  ${NSD_CreateBrowseButton} 236u 116u 64u 14u "$(Browse)"
  Pop $0
  ${NSD_OnClick} $0 BrowseOther
  nsDialogs::Show
FunctionEnd

Function BrowseOther
  ${NSD_GetText} $OtherText $0
  nsDialogs::SelectFolderDialog "$(OtherFolder)" "$0"
  Pop $0
  ${If} $0 != error
    ${NSD_SetText} $OtherText "$0"
    ${NSD_Check} $OtherCheck
  ${EndIf}
FunctionEnd

Function FoldersPageLeave
  ReadINIStr $6 $Folders Folders Count
  IntOp $6 $6 + 0
  ${For} $4 1 $6
    ReadINIStr $0 $Folders F$4 Hwnd
    ${NSD_GetState} $0 $1
    WriteINIStr $Folders F$4 Checked $1
  ${Next}
  ${NSD_GetState} $OtherCheck $1
  ${NSD_GetText} $OtherText $0
  Call TrimSlash
  WriteINIStr $Folders Other Checked $1
  WriteINIStr $Folders Other Path $0
  ${If} $1 == ${BST_CHECKED}
    ${If} $0 == ""
      MessageBox MB_OK|MB_ICONEXCLAMATION "$(NoFolderChosen)"
      Abort
    ${ElseUnless} ${FileExists} "$0\*.*"
      MessageBox MB_OK|MB_ICONEXCLAMATION "$(FolderMissing)"
      Abort
    ${EndIf}
  ${Else}
    Call CountChosen
    ${If} $0 == 0
      MessageBox MB_OK|MB_ICONEXCLAMATION "$(NoFolderChosen)"
      Abort
    ${EndIf}
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- install

; Decides what the run will do to each folder before anything is written:
; Created is kept from the installation being replaced, or set when the
; Gridsmith subfolder does not exist yet.
Function PlanFolders
  ReadINIStr $0 $Folders Other Checked
  ${If} $0 == 1
    ReadINIStr $0 $Folders Other Path
    Call ChooseNamedFolder
  ${EndIf}
  ReadINIStr $6 $Folders Folders Count
  IntOp $6 $6 + 0
  ${For} $4 1 $6
    ReadINIStr $0 $Folders F$4 Remembered
    ${If} $0 != 1
      ReadINIStr $0 $Folders F$4 Path
      StrCpy $1 0
      ${IfNot} ${FileExists} "$0\Gridsmith\*.*"
        StrCpy $1 1
      ${EndIf}
      WriteINIStr $Folders F$4 Created $1
    ${EndIf}
  ${Next}
FunctionEnd

; Every plug-in file this run replaces or removes must be free first, so that
; a cancel leaves the installation as it was.
Function WaitUntilAllFree
  ReadINIStr $6 $Folders Folders Count
  IntOp $6 $6 + 0
  ${For} $4 1 $6
    ReadINIStr $1 $Folders F$4 Checked
    ReadINIStr $2 $Folders F$4 Remembered
    ${If} $1 == 1
    ${OrIf} $2 == 1
      ReadINIStr $0 $Folders F$4 Path
      StrCpy $0 "$0\Gridsmith\${PLUGIN}"
      Call WaitUntilFree
    ${EndIf}
  ${Next}
FunctionEnd

; The Add/Remove Programs entry. It remembers the chosen folders and, with
; $3 = 1, the remembered ones too: written so before the plug-in files, an
; interrupted run can still be uninstalled.
Function WriteEntry
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Gridsmith"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Brackenhold"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Uninstall.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ReadINIStr $0 $Folders Program Created
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "ProgramFolderCreated" $0

  ${GetSize} "$INSTDIR" "/S=0K" $1 $0 $0
  StrCpy $5 0
  ReadINIStr $6 $Folders Folders Count
  IntOp $6 $6 + 0
  ${For} $4 1 $6
    ReadINIStr $7 $Folders F$4 Checked
    ReadINIStr $0 $Folders F$4 Remembered
    ${If} $7 == 1
    ${OrIf} "$3$0" == 11
      IntOp $5 $5 + 1
      ReadINIStr $0 $Folders F$4 Path
      WriteRegStr HKLM "${UNINSTALL_KEY}" "PluginFolder$5" "$0"
      ${GetSize} "$0\Gridsmith" "/M=${PLUGIN} /S=0K" $2 $9 $9
      IntOp $1 $1 + $2
      ReadINIStr $0 $Folders F$4 Created
      WriteRegDWORD HKLM "${UNINSTALL_KEY}" "PluginSubfolderCreated$5" $0
    ${EndIf}
  ${Next}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "PluginFolderCount" $5
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $1
FunctionEnd

; Writes the plug-in beside its final place and moves it there in one step, so
; a host never sees a half-written Gridsmith.8bf.
Function InstallPlugin
  CreateDirectory "$0\Gridsmith"
  StrCpy $1 "$0\Gridsmith\${PLUGIN}.new"
  StrCpy $0 "$0\Gridsmith\${PLUGIN}"
  File "/oname=$1" "${STAGE}\${PLUGIN}"
  ${Do}
    System::Call 'kernel32::MoveFileExW(w r1, w r0, i 9) i .r9'  ; replace, write through
    ${IfThen} $9 != 0 ${|} Return ${|}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(FileInUse)" /SD IDCANCEL IDRETRY +3
    Delete "$1"
    Call Cancel
  ${Loop}
FunctionEnd

!macro REMOVE_PROGRAM_FILES un
; Removes the program folder $0's files, and the folder when $1 = 1 and it is empty.
Function ${un}RemoveProgramFiles
  Delete "$0\README.txt"
  Delete "$0\README-en.txt"
  Delete "$0\LICENSE.txt"
  Delete "$0\THIRD-PARTY-NOTICES.txt"
  Delete "$0\Uninstall.exe"
  ${IfThen} $1 == 1 ${|} RMDir "$0" ${|}
FunctionEnd
!macroend
!insertmacro REMOVE_PROGRAM_FILES ""
!insertmacro REMOVE_PROGRAM_FILES "un."

Section "Gridsmith"
  SetRegView 64
  Call PlanFolders
  Call WaitUntilAllFree

  ; The program folder: ours to remove when this run or the one it replaces made it.
  ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "ProgramFolderCreated"
  ${If} $OldLocation != $INSTDIR
    ${If} $OldLocation != ""
      StrCpy $0 $OldLocation
      Call RemoveProgramFiles
    ${EndIf}
    StrCpy $1 0
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
      StrCpy $1 1
    ${EndIf}
  ${EndIf}
  IntOp $1 $1 + 0
  WriteINIStr $Folders Program Created $1
  SetOutPath "$INSTDIR"
  File "${STAGE}\README.txt" "${STAGE}\README-en.txt" "${STAGE}\LICENSE.txt" "${STAGE}\THIRD-PARTY-NOTICES.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  StrCpy $3 1
  Call WriteEntry
  ReadINIStr $6 $Folders Folders Count
  IntOp $6 $6 + 0
  ${For} $4 1 $6
    ReadINIStr $0 $Folders F$4 Path
    ReadINIStr $1 $Folders F$4 Checked
    ReadINIStr $2 $Folders F$4 Remembered
    ReadINIStr $5 $Folders F$4 Created
    ${If} $1 == 1
      DetailPrint "$0\Gridsmith\${PLUGIN}"
      Call InstallPlugin
    ${ElseIf} $2 == 1
      ; Remembered but not chosen this time: what the earlier run wrote goes.
      Delete "$0\Gridsmith\${PLUGIN}"
      ${IfThen} $5 == 1 ${|} RMDir "$0\Gridsmith" ${|}
    ${EndIf}
  ${Next}
  StrCpy $3 0
  Call WriteEntry
SectionEnd

; ---------------------------------------------------------------- uninstall

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  ReadRegDWORD $3 HKLM "${UNINSTALL_KEY}" "PluginFolderCount"
  ${For} $4 1 $3
    ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "PluginFolder$4"
    StrCpy $0 "$2\Gridsmith\${PLUGIN}"
    Call un.WaitUntilFree
    Delete "$0"
    Delete "$0.new"
    ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "PluginSubfolderCreated$4"
    ${IfThen} $1 == 1 ${|} RMDir "$2\Gridsmith" ${|}
  ${Next}
  ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "ProgramFolderCreated"
  StrCpy $0 $INSTDIR
  Call un.RemoveProgramFiles
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
