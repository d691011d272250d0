#!/usr/bin/env bash
# Screenshots of the installer under Wine, in English and in Chinese: the language choice it opens with, then its
# welcome, components and folder pages, each cut from the virtual screen. The installer is cancelled on the folder
# page, so nothing is installed.
#   bash tools/installer_screenshots.sh [folder]     into docs/installer (or the folder given)
# The shipped installer is a 32-bit program; where Wine cannot run those, the same installer built as a 64-bit
# program (makensis's amd64-unicode target) stands in for it: the pages are NSIS's and the script's either way.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=${1:-docs/installer}
bash tools/setup.sh || exit 1
export LUMIVEX_HEADLESS=1 LUMIVEX_SCREEN=1024x768x24
export LUMIVEX_WINEPREFIX=${LUMIVEX_WINEPREFIX:-$root/build/wine-screenshots}
source tools/wine-env.sh

dist=$root/build/installer-shots
rm -rf "$dist"
if lumivex_can_run_win32; then
    bash tools/dist.sh --out "$dist" >"$dist.log" 2>&1 || { cat "$dist.log" >&2; exit 1; }
else
    for preset in mingw-i686 mingw-x64; do
        cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target Lumivex >/dev/null || exit 1
    done
    LUMIVEX_INSTALLER_TARGET=amd64-unicode bash tools/dist.sh --no-build --out "$dist" >"$dist.log" 2>&1 ||
        { cat "$dist.log" >&2; exit 1; }
fi
setup=$(ls "$dist"/Lumivex-*-setup.exe)
cmake --build --preset mingw-x64 --target lumivex-probe >/dev/null || exit 1
probe() { wine "$root/build/mingw-x64/bin/lumivex-probe.exe" "$@"; }

mkdir -p "$out"
failures=0
fail() { echo "installer screenshots: $*" >&2; failures=$((failures + 1)); }
window_rect() { probe rect '#32770' 2>/dev/null | tr -d '\r'; }
# The dialog on screen as name.png, with a margin; fails for a missing, black or blank picture.
shot() {  # name
    local file=$out/$1.png x y w h
    sleep 1
    read -r x y w h < <(window_rect) || { fail "no window for $1"; return 1; }
    x=$((x - 12)) y=$((y - 12)) w=$((w + 24)) h=$((h + 24))
    [ $x -lt 0 ] && x=0
    [ $y -lt 0 ] && y=0
    import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$file" 2>/dev/null
    local deviation
    deviation=$(convert "$file" -colorspace Gray -format '%[fx:standard_deviation]' info: 2>/dev/null)
    awk -v d="${deviation:-0}" 'BEGIN { exit !(d >= 0.01) }' || { fail "$1.png is blank"; return 1; }
    echo "  $1.png"
}
# A key for the dialog's first button (Enter takes the default one: OK, Next), then a moment for the next page.
press() {  # virtual key for the first Button of the dialog
    probe key '#32770' Button "$1" >/dev/null 2>&1 || fail "no button to press"
    sleep 1.5
}

lumivex_wine_start
lumivex_wine_cjk_fonts
# NSIS's Chinese pages ask for SimSun ("宋体"), which Wine does not have: the linked CJK font stands in for it.
for name in SimSun 宋体; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /t REG_SZ /d 'WenQuanYi Micro Hei' /f \
        >/dev/null 2>&1
done
trap 'lumivex_wine_stop' EXIT
VK_RETURN=13 VK_DOWN=40 VK_ESCAPE=27
for language in en zh; do
    wine explorer /desktop=shell,1024x768 "$(winepath -w "$setup")" >/dev/null 2>&1 &
    installer=$!
    lumivex_wait_for 30 window_rect || { fail "the installer did not start"; kill "$installer"; continue; }
    # The language choice opens with English; the list's next entry is Chinese (Simplified).
    [ $language = zh ] && { probe key '#32770' ComboBox $VK_DOWN >/dev/null 2>&1 || fail "no language list"; }
    shot "installer-language-$language"
    press $VK_RETURN
    shot "installer-welcome-$language"
    press $VK_RETURN
    shot "installer-components-$language"
    press $VK_RETURN
    shot "installer-folder-$language"
    # Cancel, and yes to the question whether to quit.
    probe close '#32770' >/dev/null 2>&1
    sleep 1
    probe key '#32770' Button $VK_RETURN >/dev/null 2>&1
    wait "$installer" 2>/dev/null
    wineserver -k 2>/dev/null
done
[ $failures -eq 0 ] && echo "Installer screenshots in $out." || echo "$failures installer screenshot(s) failed." >&2
exit $((failures > 0))
