#!/bin/sh
# Usage: windres.sh WINDRES RC_FILE SCRATCH: compiles the resource script,
# reads it back, and checks the icon group with its nine pictures.
set -e
"$1" --preprocessor=cpp -O res -i "$2" -o "$3"
text=$("$1" -O rc -i "$3")
echo "$text" | grep -q 'IDI_ICON1' || { echo "no icon group IDI_ICON1"; exit 1; }
test "$(echo "$text" | grep -c 'RT_ICON')" -eq 9 || { echo "not nine icon pictures"; exit 1; }
