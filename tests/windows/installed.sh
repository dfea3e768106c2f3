#!/bin/sh
# In the Wine prefix of scripts/wine-run: the installer, silent, into a
# folder given to it, which it puts on the user's PATH; the program as its
# Start-menu entry starts it, once the language stored is English; its
# uninstaller, which takes the folder off the PATH. The screenshot tool, from the
# build, draws the French and the English window and stores English as the
# program does. Through Qt's minimal platform the installed program saves
# each frame it shows as outputNNNN.png in its working folder: the first must
# be the English window.
# Usage: installed.sh INSTALLER SCREENSHOTS.exe STARTMENU.exe BUILD-DIR
set -eu
dir='C:\Program Files\VELDRIX test'
# The folder ends the command line unquoted, spaces and all: start passes
# its words on as they are, and waits.
# shellcheck disable=SC2086
wine start /wait /unix "$1" /S /D=$dir
installed=$(winepath -u "$dir")
for f in veldrix.exe veldrix-cli.exe veldrix_en.qm Qt5Core.dll Qt5Gui.dll Qt5Widgets.dll Qt5SerialPort.dll \
  platforms/qwindows.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll \
  translations/qt_fr.qm translations/qtbase_fr.qm Uninstall.exe fonts/LiberationSansNarrow-Regular.ttf \
  fonts/LICENSE.txt fonts/GPL-2.txt README.txt LICENSE.txt copyright.txt profile-keys.txt; do
  [ -f "$installed/$f" ] || { echo "not installed: $f"; exit 1; }
done
# The folder is on the user's PATH (HKCU\Environment): a console started
# afresh, anywhere, finds the command line.
wine cmd /c 'cd \ && veldrix-cli --version' | grep -q '^veldrix-cli 2.1.0.0' ||
  { echo "the command line does not start from a console elsewhere"; exit 1; }
entry=$(find "$WINEPREFIX/drive_c" -name VELDRIX.lnk)
[ -n "$entry" ] || { echo "no Start-menu entry"; exit 1; }

# Qt's own variables, as Wine passes them on (QT_* stay on the Linux side);
# the minimal platform is not installed, Qt's plugins folder has it.
WINEQT_PLUGIN_PATH=$(winepath -w "${VELDRIX_QT_WINDOWS:-/opt/qt5-mingw}/plugins")
# Its screen claims 100 dpi, which would scale the window by 100/96: 96, as
# at 100 %.
export WINEQT_PLUGIN_PATH WINEQT_QPA_PLATFORM=minimal:enable_fonts WINEQT_FONT_DPI=96
shots=$(mktemp -d)
(cd "$4" && wine "$2" "$(winepath -w "$shots")" >/dev/null)
! cmp -s "$shots/mainwindow_fr.png" "$shots/mainwindow_en.png" || { echo "no English window"; exit 1; }
wine reg query 'HKCU\Software\Unknown Organization\veldrix' /v Language | grep -q 'REG_SZ *en' ||
  { echo "English is not stored in HKCU\\Software\\Unknown Organization\\veldrix"; exit 1; }
WINEQT_DEBUG_BACKINGSTORE=1 wine "$3" "$(winepath -w "$entry")" "$dir\\output0000.png"
cmp "$installed/output0000.png" "$shots/mainwindow_en.png" ||
  { echo "the installed program does not show the English window"; exit 1; }
rm -rf "$shots"

# Run in place, so that it is waited for; it leaves itself behind then.
# shellcheck disable=SC2086
wine start /wait /unix "$installed/Uninstall.exe" /S _?=$dir
[ ! -e "$installed/veldrix.exe" ] && [ ! -e "$entry" ] || { echo "not uninstalled"; exit 1; }
! wine reg query 'HKCU\Environment' /v PATH 2>/dev/null | grep -qF "$dir" || { echo "still on the PATH"; exit 1; }
echo "installed with its texts and font, on the PATH, started in English from the Start menu, ended cleanly, uninstalled"
