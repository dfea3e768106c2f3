# Cross-building for 64-bit Windows on Debian: MinGW-w64 with posix threads
# (g++-mingw-w64-x86-64-posix) and Qt for MinGW unpacked in /opt/qt5-mingw.
# scripts/windows uses it; by hand:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/windows-mingw.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(VELDRIX_QT_WINDOWS /opt/qt5-mingw CACHE PATH "Qt for MinGW")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${VELDRIX_QT_WINDOWS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# What runs during the build runs here: that Qt's moc, rcc and uic are built
# for Linux already, lrelease comes from the build machine's Qt
# (qttools5-dev), and so do Qt's French catalogues (qttranslations5-l10n).
set(Qt5LinguistTools_DIR /usr/lib/x86_64-linux-gnu/cmake/Qt5LinguistTools CACHE PATH "")
set(QT_TRANSLATIONS_DIR /usr/share/qt5/translations CACHE PATH "Qt's catalogues")
# toml++ is header-only and the same for every target: Debian's headers
# (libtomlplusplus-dev), from a folder that holds them alone, not the rest of
# /usr/include.
if(CMAKE_BINARY_DIR AND EXISTS /usr/include/toml++)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/host-headers)
  file(CREATE_LINK /usr/include/toml++ ${CMAKE_BINARY_DIR}/host-headers/toml++ SYMBOLIC)
  set(TOMLPLUSPLUS_INCLUDE_DIR ${CMAKE_BINARY_DIR}/host-headers CACHE PATH "toml++")
endif()

# Windows programs built here, tests included, run under Wine, each in a Wine
# prefix of its own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
