; The installer of TeX Quillet. Built by tools/dist:
;   makensis -DVERSION=1.0.0 -DSTAGE=DIR -DFILES=FILES.nsh -DSIZE_KB=N -DOUTFILE=SETUP.exe installer.nsi
; STAGE holds what ships (the portable zip's folder); FILES defines the macros that install
; and remove exactly those files, so the uninstaller takes away nothing it did not bring.
; Kept in UTF-8 with a byte-order mark: makensis reads the Japanese texts from it as such.
Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!macro REQUIRE NAME
  !ifndef ${NAME}
    !error "${NAME} is not defined: tools/dist defines VERSION, STAGE, FILES, SIZE_KB and OUTFILE"
  !endif
!macroend
!insertmacro REQUIRE VERSION
!insertmacro REQUIRE STAGE
!insertmacro REQUIRE FILES
!insertmacro REQUIRE SIZE_KB
!insertmacro REQUIRE OUTFILE

!define PRODUCT "TeX Quillet"
!define PUBLISHER "TeX Quillet developers"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TeXQuillet"
!define PROGID "TeXQuillet.tex"
!define MENU_FOLDER "$SMPROGRAMS\TeX Quillet"
!define UNINSTALL_LINK "TeX Quillet のアンインストール.lnk"
; Kept beside the association while it is ours, so the uninstaller can give it back.
!define PREVIOUS_VALUE "TeXQuillet.previous"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "${FILES}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\TeX Quillet"
; An update goes where the last install went.
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"

!define MUI_ABORTWARNING
; The program's own icon, as Quillet.exe carries it.
!define MUI_ICON "${__FILEDIR__}\..\artwork\Quillet.ico"
!define MUI_UNICON "${__FILEDIR__}\..\artwork\Quillet.ico"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\readme.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "はじめにお読みください（readme.txt）を表示する"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "TeX Quillet ${VERSION} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "TeX Quillet 本体" SecProgram
  SectionIn RO
  !insertmacro QUILLET_INSTALL_FILES
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Shortcuts start in the install folder, where the program finds command.db.
  CreateDirectory "${MENU_FOLDER}"
  CreateShortCut "${MENU_FOLDER}\TeX Quillet.lnk" "$INSTDIR\Quillet.exe" "" "$INSTDIR\Quillet.exe" 0
  CreateShortCut "${MENU_FOLDER}\${UNINSTALL_LINK}" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Quillet.exe"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section /o "「.tex」ファイルを TeX Quillet で開く" SecAssociation
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "TeX 文書"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\Quillet.exe,1"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\Quillet.exe" "%1"'
  ReadRegStr $0 HKLM "Software\Classes\.tex" ""
  ${If} $0 != ""
  ${AndIf} $0 != "${PROGID}"
    WriteRegStr HKLM "Software\Classes\.tex" "${PREVIOUS_VALUE}" $0
  ${EndIf}
  WriteRegStr HKLM "Software\Classes\.tex" "" "${PROGID}"
  WriteRegStr HKLM "Software\Classes\.tex\OpenWithProgids" "${PROGID}" ""
  ; SHCNE_ASSOCCHANGED: Explorer shows the new icon and verb without a restart.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; A silent install takes the association with /ASSOCIATE (the components page is not shown).
Function .onInit
  SetRegView 64
  SetShellVarContext all
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ASSOCIATE" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAssociation}
  ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "TeX Quillet、TeX とのブリッジ、ヘルプ、定型マクロ、サンプル文書、スタートメニューの項目。"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAssociation} "エクスプローラーで .tex ファイルを開くと TeX Quillet で開くようにします。"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  !insertmacro QUILLET_REMOVE_FILES
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: whatever the user put there stays.
  RMDir "$INSTDIR"

  Delete "${MENU_FOLDER}\TeX Quillet.lnk"
  Delete "${MENU_FOLDER}\${UNINSTALL_LINK}"
  RMDir "${MENU_FOLDER}"

  ; The association is taken back only while it is still ours.
  ReadRegStr $0 HKLM "Software\Classes\.tex" ""
  ${If} $0 == "${PROGID}"
    ReadRegStr $1 HKLM "Software\Classes\.tex" "${PREVIOUS_VALUE}"
    ${If} $1 != ""
      WriteRegStr HKLM "Software\Classes\.tex" "" $1
    ${Else}
      DeleteRegValue HKLM "Software\Classes\.tex" ""
    ${EndIf}
  ${EndIf}
  DeleteRegValue HKLM "Software\Classes\.tex" "${PREVIOUS_VALUE}"
  DeleteRegValue HKLM "Software\Classes\.tex\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKLM "Software\Classes\.tex\OpenWithProgids"
  DeleteRegKey /ifempty HKLM "Software\Classes\.tex"
  ReadRegStr $0 HKLM "Software\Classes\${PROGID}\shell\open\command" ""
  ${If} $0 == '"$INSTDIR\Quillet.exe" "%1"'
    DeleteRegKey HKLM "Software\Classes\${PROGID}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  ${EndIf}

  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
