#!/bin/sh
# In the Wine prefix of scripts/wine-run: a Windows program of the build on
# the Windows platform, at the display scale that Windows' LogPixels gives (96
# is 100 %, 120 is 125 %, up to 192 for 200 %), on Wine's null display
# driver, which needs no X server.
# Usage: scaled.sh DPI PROGRAM.exe [ARGUMENTS...]
set -eu
dpi=$1
shift
# Written into the new prefix's registry file before Wine starts there: a
# key given again further down takes the values given with it.
wineserver -k 2>/dev/null || true
printf '\n[Control Panel\\\\Desktop]\n"LogPixels"=dword:%08x\n\n[Software\\\\Wine\\\\Drivers]\n"Graphics"="null"\n' \
  "$dpi" >>"$WINEPREFIX/user.reg"
exec wine "$@" -platform windows
