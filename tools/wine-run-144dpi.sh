#!/usr/bin/env bash
# Runs one Windows executable under Wine in a prefix of its own whose screen is at 144 dpi (150 % scaling), beside
# the usual prefix: "<prefix>-144dpi". The display tests run there once more. The loader, the quiet settings and
# the DPI setting come from wine-env.sh, as in the other scripts that start Wine.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
base=${WINEPREFIX:-$root/build/wine}
LUMIVEX_WINEPREFIX=${base%/}-144dpi
source "$root/tools/wine-env.sh"
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX ..." >&2
    wineboot -i >/dev/null 2>&1 || true
fi
# Wine reads the DPI when a program starts; headless runs leave Wine's windows unmanaged as the usual prefix does.
LUMIVEX_DPI=144 lumivex_wine_dpi
if grep -q '"Managed"="N"' "$base/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi
exec wine "$@"
