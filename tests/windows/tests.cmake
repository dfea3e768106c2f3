# The Windows build's tests, run under Wine by scripts/wine-run (the
# toolchain's emulator), each in a Wine prefix of its own: a copy of one that
# wineboot makes first, in which nothing has run.
set(VELDRIX_WINE_TEMPLATE ${CMAKE_CURRENT_BINARY_DIR}/wine-template)
add_test(NAME wine_prefix
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --template ${VELDRIX_WINE_TEMPLATE})
add_test(NAME wine_prefix_removed COMMAND ${CMAKE_COMMAND} -E rm -rf ${VELDRIX_WINE_TEMPLATE})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix)
set_tests_properties(wine_prefix_removed PROPERTIES FIXTURES_CLEANUP wine_prefix)

veldrix_test(tst_protocol veldrix_link)
veldrix_test(tst_profile veldrix_link)
veldrix_test(tst_window veldrix_window)
add_dependencies(tst_window veldrix_catalogues)
# Every caption fits on the Windows platform at each display scale Windows
# offers up to 200 %, the window and its text grown by the scale's own factor;
# headless (offscreen) there would be 100 % only.
add_executable(tst_fit tst_fit.cpp testsupport.h)
target_compile_definitions(tst_fit PRIVATE VELDRIX_BUILD_DIR="${CMAKE_BINARY_DIR}")
target_link_libraries(tst_fit PRIVATE veldrix_window veldrix_standin_table Qt5::Test)
add_dependencies(tst_fit veldrix_catalogues)
foreach(dpi 96 120 144 168 192)
  add_test(NAME tst_fit_${dpi}dpi
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${CMAKE_SOURCE_DIR}/scripts/wine-scaled ${dpi}
            $<TARGET_FILE:tst_fit> -o -,tap)
  set_tests_properties(tst_fit_${dpi}dpi PROPERTIES WORKING_DIRECTORY ${CMAKE_BINARY_DIR} TIMEOUT 120
    FIXTURES_REQUIRED wine_prefix ENVIRONMENT VELDRIX_WINE_TEMPLATE=${VELDRIX_WINE_TEMPLATE})
endforeach()

# The program as the installer lays it out and the Start menu starts it.
# cpack makes the installer and the zip first, as scripts/windows does.
set(VELDRIX_PACKAGE ${CMAKE_BINARY_DIR}/veldrix-${PROJECT_VERSION}-win64)
add_test(NAME windows_packages
  COMMAND ${CMAKE_CPACK_COMMAND} -G NSIS$<SEMICOLON>ZIP --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(windows_packages PROPERTIES FIXTURES_SETUP windows_packages)
add_executable(veldrix-startmenu windows/startmenu.cpp)
target_link_options(veldrix-startmenu PRIVATE -municode)
add_test(NAME windows_installed
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${CMAKE_CURRENT_SOURCE_DIR}/windows/installed.sh
          ${VELDRIX_PACKAGE}.exe $<TARGET_FILE:veldrix-screenshots>
          $<TARGET_FILE:veldrix-startmenu> ${CMAKE_BINARY_DIR})

# Discovery, read and write through Qt's Windows serial code and its list of
# ports, against the native stand-in that scripts/windows --test names.
add_test(NAME windows_comport
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${CMAKE_CURRENT_SOURCE_DIR}/windows/comport.sh
          "${VELDRIX_STANDIN_PROGRAM}" $<TARGET_FILE:veldrix-cli>)

set_tests_properties(tst_protocol tst_profile tst_window windows_installed windows_comport PROPERTIES
  FIXTURES_REQUIRED wine_prefix ENVIRONMENT VELDRIX_WINE_TEMPLATE=${VELDRIX_WINE_TEMPLATE})
set_property(TEST windows_installed APPEND PROPERTY FIXTURES_REQUIRED windows_packages)

# The executable carries its icon group with the nine sizes and its version
# record, and starts at Qt's WinMain, which calls the program's main() as qMain.
add_test(NAME windows_executable
  COMMAND sh -c "\"$1-windres\" -O rc -i \"$2\" >\"$2.rc\" && \"$1-objdump\" -p -t \"$2\" >\"$2.dump\" &&
                 [ $(grep -c -e ' 3 .. RT_ICON' -e '^.IDI_ICON1. 14 ' \"$2.rc\") = 10 ] &&
                 grep -q 'PRODUCTVERSION 2, 1, 0, 0' \"$2.rc\" && grep -q 'ProductName., .VELDRIX' \"$2.rc\" &&
                 grep -q 'Subsystem.*Windows GUI' \"$2.dump\" && grep -q ' WinMain$' \"$2.dump\" &&
                 grep -q ' _Z5qMainiPPc$' \"$2.dump\""
          sh x86_64-w64-mingw32 $<TARGET_FILE:veldrix>)
