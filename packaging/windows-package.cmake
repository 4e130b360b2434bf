# Windows: an installer (NSIS) and a portable zip of what `cmake --install` puts in place, from a
# Release build with `cpack` (tools/build-windows --package). The installer puts both programs and
# the user guide under Program Files, adds a Start-menu entry and the ".marlo" type with the
# editor's icon, and writes an uninstaller that takes all of it away again.
set(CPACK_GENERATOR "NSIS;ZIP")
# What is packed is what was built: the packages need the two programs, not the test programs that
# building everything would make first (tools/build-windows --package builds the programs).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Orvane Marlo Editor")
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-windows-x64")
set(CPACK_NSIS_DISPLAY_NAME "Orvane Marlo Editor")
set(CPACK_NSIS_PACKAGE_NAME "Orvane Marlo Editor")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\marlo-editor.exe")
set(CPACK_NSIS_MUI_ICON "${MARLO_WINDOWS_ICON}")
set(CPACK_NSIS_MUI_UNIICON "${MARLO_WINDOWS_ICON}")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The Start-menu entry.
set(CPACK_PACKAGE_EXECUTABLES "marlo-editor" "Orvane Marlo Editor")
# The ".marlo" type: opened by the editor, shown with its icon; taken away by the uninstaller.
set(marlo_type "OrvaneMarlo.Preset")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  WriteRegStr HKCR '.marlo' '' '${marlo_type}'
  WriteRegStr HKCR '${marlo_type}' '' 'Marlo preset'
  WriteRegStr HKCR '${marlo_type}\\DefaultIcon' '' '$INSTDIR\\bin\\marlo-editor.exe,0'
  WriteRegStr HKCR '${marlo_type}\\shell\\open\\command' '' '\"$INSTDIR\\bin\\marlo-editor.exe\" \"%1\"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  DeleteRegKey HKCR '.marlo'
  DeleteRegKey HKCR '${marlo_type}'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
