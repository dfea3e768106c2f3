#!/bin/sh
# In the Wine prefix of scripts/wine-run: Qt's Windows serial code for real.
# The module stand-in runs natively on a pseudo-terminal that the prefix
# declares as COM5 (Wine lists a port that HKLM\Software\Wine\Ports names when
# its server starts), and veldrix-cli.exe finds it among the ports Windows
# lists, reads its settings, and writes one of them changed.
# Usage: comport.sh STANDIN-PROGRAM VELDRIX-CLI.exe
set -eu
# The machine's own serial ports stay out of it: Wine would list them (its
# COM1 is /dev/ttyS0), and opening a real one that has no carrier can block
# for ever. A mount namespace of the test's own lays /dev/null over them.
if [ -z "${VELDRIX_OWN_PORTS_HIDDEN:-}" ]; then
  exec env VELDRIX_OWN_PORTS_HIDDEN=1 unshare -m sh -c \
    'for p in /dev/ttyS*; do [ ! -e "$p" ] || mount --bind /dev/null "$p"; done; exec "$0" "$@"' \
    "$0" "$@"
fi
[ -x "${1:-}" ] || { echo "comport.sh needs the native stand-in program"; exit 1; }
out=$(mktemp)
"$1" >"$out" &
standin=$!
trap 'kill $standin; rm -f "$out" "$out.toml"' EXIT
i=0
while [ ! -s "$out" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$(head -n 1 "$out")" /f >/dev/null
wineserver -w
found=$(wine "$2" find 2>/dev/null | tr -d '\r')
[ "$found" = "$(printf 'COM5\tVELDRIX_GPS2CAN_SIM')" ] || { echo "find: $found"; exit 1; }
wine "$2" read --port COM5 | tr -d '\r' | sed 's/^brightness_percent = 50 /brightness_percent = 45 /' >"$out.toml"
changed=$(wine "$2" write "$(winepath -w "$out.toml")" --port COM5 | tr -d '\r')
[ "$changed" = "led.brightness_percent: 50 -> 45" ] || { echo "write: $changed"; exit 1; }
echo "COM5 found, read, written and read again: $(grep -c heard "$out") commands heard"
