#!/usr/bin/env bash
# Makes the Wine prefix inside the build tree once, with the settings that keep tests fast.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/env.sh"
stamp="$WINEPREFIX/.morlo-ready"
[ -f "$stamp" ] && exit 0
echo "setup: making the Wine prefix in $WINEPREFIX"
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
export LANG=ja_JP.UTF-8
wineboot -i >/dev/null 2>&1 || true
wineserver -w
# Without a window manager every destroyed top-level window otherwise costs two seconds.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# A crashing test must exit at once instead of waiting in a debugger dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
# Debian's Wine does not find its own fonts; caption buttons would draw as letters.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
wineserver -w
touch "$stamp"
