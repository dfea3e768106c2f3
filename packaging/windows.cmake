# What the Windows program needs beside itself, and its installer and zip:
# cpack -G "NSIS;ZIP" in the Windows build folder (scripts/windows does it).
# Everything lies in one folder, as the program expects: its catalogue
# veldrix_en.qm beside it, Qt's French catalogues in translations/.

# Qt's libraries and the platform plugin, where Qt looks for them: beside the
# program and in platforms/. The Vista style gives the buttons and fields the
# look of the system's own dialogs.
foreach(qt Core Gui Widgets SerialPort)
  install(FILES $<TARGET_FILE:Qt5::${qt}> DESTINATION .)
endforeach()
install(FILES $<TARGET_FILE:Qt5::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt5::QWindowsVistaStylePlugin> DESTINATION styles)
# MinGW's runtime, as the compiler finds it. Debian's carries its symbols
# (libstdc++ 23 MiB, 2 MiB without): they are stripped from the copies.
set(VELDRIX_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know ${dll}")
  endif()
  set(copy ${CMAKE_BINARY_DIR}/runtime/${dll})
  add_custom_command(OUTPUT ${copy}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/runtime
    COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${copy} ${path}
    DEPENDS ${path}
    COMMENT "Stripping ${dll}")
  list(APPEND VELDRIX_RUNTIME_DLLS ${copy})
endforeach()
add_custom_target(veldrix_runtime ALL DEPENDS ${VELDRIX_RUNTIME_DLLS})
install(FILES ${VELDRIX_RUNTIME_DLLS} DESTINATION .)
# Qt's French catalogues are plain data, copied from the build machine's Qt.
install(FILES ${VELDRIX_QT_QM} DESTINATION translations)

# The form's font, which Windows lacks: the program loads it from fonts/
# beside itself. It comes from Debian's fonts-liberation, with its licence.
# The build tree has it beside every program that shows the form.
set(VELDRIX_FONT_SOURCE /usr/share/fonts/truetype/liberation/LiberationSansNarrow-Regular.ttf)
if(NOT EXISTS ${VELDRIX_FONT_SOURCE})
  message(FATAL_ERROR "${VELDRIX_FONT_SOURCE} is missing: install fonts-liberation (scripts/deps)")
endif()
foreach(dir . tests bench)
  file(COPY ${VELDRIX_FONT_SOURCE} DESTINATION ${CMAKE_BINARY_DIR}/${dir}/fonts)
endforeach()

# Texts for Windows, with Windows line ends: the README (its table of the
# profile keys also apart), the licence, what each file's terms are, and the
# font's licence as Debian gives it, with the GPL it names.
function(veldrix_windows_text source target)
  file(READ ${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${CMAKE_BINARY_DIR}/texts/${target} "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()
veldrix_windows_text(${CMAKE_SOURCE_DIR}/README.md README.txt)
veldrix_windows_text(${CMAKE_SOURCE_DIR}/LICENSE LICENSE.txt)
veldrix_windows_text(${CMAKE_SOURCE_DIR}/packaging/windows-copyright.txt copyright.txt)
veldrix_windows_text(/usr/share/doc/fonts-liberation/copyright fonts/LICENSE.txt)
veldrix_windows_text(/usr/share/common-licenses/GPL-2 fonts/GPL-2.txt)
file(READ ${CMAKE_SOURCE_DIR}/README.md readme)
string(REGEX MATCH "\n\\| key \\|[^\n]*\n(\\|[^\n]*\n)+" keys "${readme}")
if(NOT keys)
  message(FATAL_ERROR "README.md has no table of the profile keys (a line beginning '| key |')")
endif()
file(WRITE ${CMAKE_BINARY_DIR}/texts/profile-keys.md.new
  "# The keys of a settings profile (README.md, \"Settings profiles\")\n${keys}")
veldrix_windows_text(${CMAKE_BINARY_DIR}/texts/profile-keys.md.new profile-keys.txt)
install(FILES ${CMAKE_BINARY_DIR}/texts/README.txt ${CMAKE_BINARY_DIR}/texts/LICENSE.txt
              ${CMAKE_BINARY_DIR}/texts/copyright.txt ${CMAKE_BINARY_DIR}/texts/profile-keys.txt
        DESTINATION .)
install(FILES ${VELDRIX_FONT_SOURCE} ${CMAKE_BINARY_DIR}/texts/fonts/LICENSE.txt
              ${CMAKE_BINARY_DIR}/texts/fonts/GPL-2.txt DESTINATION fonts)

set(CPACK_GENERATOR "NSIS;ZIP")
# Values reach CPack as written here, quotes and backslashes of NSIS included.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME veldrix)
set(CPACK_PACKAGE_VENDOR "Veldrix")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configurateur VELDRIX")
set(CPACK_PACKAGE_FILE_NAME veldrix-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY VELDRIX)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY VELDRIX)
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_PACKAGE_NAME VELDRIX)
set(CPACK_NSIS_DISPLAY_NAME "VELDRIX ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${VELDRIX_ICO})
set(CPACK_NSIS_MUI_UNIICON ${VELDRIX_ICO})
set(CPACK_NSIS_INSTALLED_ICON_NAME veldrix.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer for a 64-bit program: it also runs under a Wine without
# its 32-bit half (Debian's wine64 alone), as the tests do.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
# The Start-menu entry starts the program in its folder, where it looks for
# its catalogues: the entry's working folder is the output folder of the
# moment it is made.
# The installer offers to add its folder to the user's PATH, so that
# veldrix-cli runs from any console, and does so by default, silent too; the
# uninstaller takes it away. CPack's own way adds a bin folder, which this
# package has not: its page and choice are kept (the page's texts and default
# in packaging/windows/), the folder is given here.
set(CPACK_NSIS_MODIFY_PATH ON)
list(APPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging/windows)
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [[
  StrCmp $DO_NOT_ADD_TO_PATH "1" veldrix_path_done
    Push "$INSTDIR"
    Call AddToPath
  veldrix_path_done:
]])
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [[
  Push "$INSTDIR"
  Call un.RemoveFromPath
]])
set(CPACK_NSIS_CREATE_ICONS_EXTRA [[
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\VELDRIX.lnk" "$INSTDIR\veldrix.exe" "" "$INSTDIR\veldrix.exe" 0
]])
set(CPACK_NSIS_DELETE_ICONS_EXTRA [[
  Delete "$SMPROGRAMS\$MUI_TEMP\VELDRIX.lnk"
]])
include(CPack)
