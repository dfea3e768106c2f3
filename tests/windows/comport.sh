#!/bin/sh
# In the Wine prefix of scripts/wine-run: Qt's Windows serial code for real.
# The module stand-in runs natively on a pseudo-terminal that the prefix
# declares as COM5 (Wine lists a port that HKLM\Software\Wine\Ports names when
# its server starts), and veldrix-cli.exe finds it among the ports Windows
# lists, reads its settings, and writes one of them changed.
# Usage: comport.sh STANDIN-PROGRAM VELDRIX-CLI.exe
set -eu
[ -x "${1:-}" ] || { echo "comport.sh needs the native stand-in program"; exit 1; }
out=$(mktemp)
"$1" >"$out" &
standin=$!
trap 'kill $standin; rm -f "$out" "$out.toml" "$out.err"' EXIT
i=0
while [ ! -s "$out" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
# Declared in the registry file before Wine's server first starts there.
# COM7 is listed with nothing behind it, as a port of a driver that has none.
printf '\n[Software\\\\Wine\\\\Ports]\n"COM5"="%s"\n"COM7"=""\n' "$(head -n 1 "$out")" >>"$WINEPREFIX/system.reg"
# The machine's own serial ports stay out of it: Wine lists them too (its
# COM1 is /dev/ttyS0), and opening a real one that has no carrier can block
# for ever. Their entries leave the list of ports, which the server rebuilds
# only when it starts, so it is kept running until the end (wine-run stops it).
wineserver -p
wine reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' | tr -d '\r' | awk '$2 == "REG_SZ" && $3 != "COM5" && $3 != "COM7" { print $1 }' |
  while read -r e; do wine reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v "$e" /f >/dev/null; done
found=$(wine "$2" find 2>"$out.err" | tr -d '\r')
[ "$found" = "$(printf 'COM5\tVELDRIX_GPS2CAN_SIM')" ] || { echo "find: $found"; exit 1; }
# The placeholder is said to be unusable, with the system's reason, and no
# more: nothing was unplugged.
grep -qx 'veldrix-cli: cannot ask COM7: the port could not be used: ..*' "$out.err" || { cat "$out.err"; exit 1; }
wine "$2" read --help | grep -q 'such as COM3 or' || { echo "the help names no Windows port"; exit 1; }
# The null device takes a profile as a file would.
nul=$(wine "$2" read --port COM5 -o NUL 2>&1) || { echo "read -o NUL: $nul"; exit 1; }
wine "$2" read --port COM5 | tr -d '\r' | sed 's/^brightness_percent = 50 /brightness_percent = 45 /' >"$out.toml"
changed=$(wine "$2" write "$(winepath -w "$out.toml")" --port COM5 | tr -d '\r')
[ "$changed" = "$(printf 'written and checked; 1 setting changed:\n  led.brightness_percent: 50 -> 45')" ] ||
  { echo "write: $changed"; exit 1; }
echo "COM5 found, read, written and read again: $(grep -c heard "$out") commands heard"
