#!/usr/bin/env bash
# Starts the Lumivex.exe (a portable copy) under Wine on a desktop with a taskbar and captures PNG
# screenshots of what a user sees: the tray area with the live icon, the tray menu, the process dialog, the
# high-memory warning, every page of the options dialog and the About box. Fails when a screenshot is missing,
# black or of one colour.
#   bash tools/screenshots.sh                 into build/screenshots/
#   bash tools/screenshots.sh --update-docs   also into docs/screenshots/ (what the README shows)
#   bash tools/screenshots.sh --english       the program in English (Language=en), pictures named *-en.png
# LUMIVEX_SHOTS_PRESET=mingw-x64 takes the 64-bit build (for machines whose Wine runs no 32-bit programs).
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
update_docs=0
language_line=""
suffix=""
for arg in "$@"; do
    case "$arg" in
        --update-docs) update_docs=1 ;;
        --english) language_line='Language=en\r\n' suffix=-en ;;
        *) echo "unknown option $arg" >&2; exit 2 ;;
    esac
done
# At 150 % (LUMIVEX_DPI=144) the pictures are named *-150.png.
[ "${LUMIVEX_DPI:-96}" = 144 ] && suffix=$suffix-150
# The shipped 32-bit build, or the 64-bit one where this machine cannot run 32-bit programs.
preset=${LUMIVEX_SHOTS_PRESET:-$(source tools/wine-env.sh && lumivex_runnable_preset)}

bash tools/setup.sh || exit 1
cmake --preset "$preset" >/dev/null || exit 1
cmake --build --preset "$preset" --target Lumivex lumivex-staged lumivex-probe -- -j"${LUMIVEX_JOBS:-$(nproc)}" >/dev/null || exit 1
bin=$root/build/$preset/bin

export LUMIVEX_HEADLESS=${LUMIVEX_HEADLESS:-1}
export LUMIVEX_SCREEN=1024x768x24
# A prefix of its own (the one tools/options_screenshots.sh uses): the linked CJK font must not change how the
# tests' prefix draws text.
export LUMIVEX_WINEPREFIX=${LUMIVEX_WINEPREFIX:-$root/build/wine-screenshots}
source tools/wine-env.sh
desktop=1024x768
out=$root/build/screenshots$suffix
rm -rf "$out"
mkdir -p "$out"
failures=0
desktop_pid=""

probe() { wine "$bin/lumivex-probe.exe" "$@"; }
fail() { echo "screenshots: $*" >&2; failures=$((failures + 1)); }

# A picture that is all black, or one flat colour, shows nothing.
check_picture() {  # file
    [ -s "$1" ] || { fail "$(basename "$1") is missing or empty"; return 1; }
    local mean deviation
    read -r mean deviation < <(convert "$1" -colorspace Gray -format '%[fx:mean] %[fx:standard_deviation]\n' info:)
    if awk -v m="$mean" -v d="$deviation" 'BEGIN { exit !(m < 0.02 || d < 0.01) }'; then
        fail "$(basename "$1") is black or blank (mean $mean, deviation $deviation)"
        return 1
    fi
    echo "  $(basename "$1") (mean $mean, deviation $deviation)"
}

# The whole desktop, or the part of it around a window rectangle "x y w h" (with a margin), as name.png.
shot() {  # name [x y w h]
    local file=$out/$1$suffix.png
    shift
    # Let the last paint reach the virtual screen.
    sleep 0.5
    if [ $# -eq 4 ]; then
        local m=12 x=$(($1 - 12)) y=$(($2 - 12)) w=$(($3 + 24)) h=$(($4 + 24))
        [ $x -lt 0 ] && x=0
        [ $y -lt 0 ] && y=0
        import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$file" 2>/dev/null
        : "$m"
    else
        import -display "$DISPLAY" -window root -crop "${desktop}+0+0" +repage "$file" 2>/dev/null
    fi
    check_picture "$file"
}

# The notification area, enlarged so the 16 x 16 icon can be seen.
tray_shot() {  # name
    local file=$out/$1$suffix.png
    sleep 0.5
    import -display "$DISPLAY" -window root -crop 96x20+928+748 +repage -filter point -resize 400% "$file" 2>/dev/null
    check_picture "$file"
}

# A portable copy with the given settings, started on the taskbar desktop.
# The program's own form with a staged memory reading (tools/staged_form_win.cpp), so the pictures show the figures
# of a busy 16 GB computer rather than those of the machine that takes them.
start_lumivex() {  # settings text, memory load in percent, "history" to live through a staged day first
    local app=$out/app
    rm -rf "$app"
    mkdir -p "$app/Themes"
    cp "$bin/lumivex-staged.exe" "$app/Lumivex.exe"
    printf '%b' "$1$language_line" >"$app/Lumivex.Settings"
    cp "$root"/res/themes/*.Lumivex\ Theme "$app/Themes/"
    wine explorer /desktop=shell,$desktop "$(winepath -w "$app/Lumivex.exe")" "$2" 16 ${3:-} >/dev/null 2>&1 &
    desktop_pid=$!
    probe wait 40 >/dev/null || { fail "Lumivex did not start"; return 1; }
}

stop_lumivex() {
    probe end >/dev/null 2>&1 || true
    wait "$desktop_pid" 2>/dev/null
    desktop_pid=""
}

window_rect() { probe rect "$1" 2>/dev/null | tr -d '\r'; }

# Menu commands (res/resource.h).
IDM_SETTINGS=40006
IDM_ABOUT=40007
IDM_MEMORY_HISTORY=40009
IDM_PROCESS_ROW_FIRST=41000

lumivex_wine_start
lumivex_wine_cjk_fonts
lumivex_wine_dpi
trap 'stop_lumivex; lumivex_wine_stop' EXIT

echo "Screenshots in $out:"
settings='[General]\r\nShowPercentage=1\r\nRefreshRate=500\r\nWarn=0\r\nWarnMsgBox=0\r\n'
if start_lumivex "$settings" 58; then
    shot desktop
    tray_shot tray-icon

    # The tray menu pops up at the cursor: bring the cursor to the icon first, then point at a row.
    xdotool mousemove 1000 758
    probe tray right >/dev/null
    if lumivex_wait_for 10 window_rect '#32768'; then
        read -r x y w h < <(window_rect '#32768')
        xdotool mousemove $((x + w / 2)) $((y + 12))
        shot tray-menu "$x" "$y" "$w" "$h"
        probe close '#32768' >/dev/null
        # The command a click on the first process row sends (the rows stay until the menu opens again).
        probe command $IDM_PROCESS_ROW_FIRST >/dev/null
        if lumivex_wait_for 10 window_rect '#32770'; then
            read -r x y w h < <(window_rect '#32770')
            shot process-dialog "$x" "$y" "$w" "$h"
            probe close '#32770' >/dev/null
        else
            fail "no process dialog for the first process row"
        fi
    else
        fail "the tray menu did not open"
    fi

    probe command $IDM_ABOUT >/dev/null
    if lumivex_wait_for 10 window_rect TFrmLumivexMain; then
        read -r x y w h < <(window_rect TFrmLumivexMain)
        shot about "$x" "$y" "$w" "$h"
        probe close TFrmLumivexMain >/dev/null
    else
        fail "the About box did not open"
    fi

    probe command $IDM_SETTINGS >/dev/null
    if lumivex_wait_for 10 window_rect '#32770'; then
        # Every page: the right arrow on the page tabs moves to the next one.
        for page in 1 2 3 4 5; do
            read -r x y w h < <(window_rect '#32770')
            shot "options-page-$page" "$x" "$y" "$w" "$h"
            probe key '#32770' SysTabControl32 39 >/dev/null || fail "no page tabs in the options dialog"
        done
        probe close '#32770' >/dev/null
    else
        fail "the options dialog did not open"
    fi
    stop_lumivex
fi

# High memory: 92 % crosses the red threshold of 90 % on the first tick, which warns with a balloon and the dialog.
if start_lumivex '[General]\r\nShowPercentage=1\r\nWarn=1\r\nWarnMsgBox=1\r\nDefragOnHighMemory=0\r\n' 92; then
    if lumivex_wait_for 15 window_rect '#32770'; then
        read -r x y w h < <(window_rect '#32770')
        shot high-memory-warning "$x" "$y" "$w" "$h"
        shot high-memory-desktop
        probe close '#32770' >/dev/null
    else
        fail "no high-memory warning"
    fi
    stop_lumivex
fi

# The memory history after a staged day, in the light and the dark app look: the last 10 minutes in the light one,
# the last hour in the dark one (the right arrow on the span buttons). The command runs once the staged day is over
# and the program's loop runs.
personalize='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
for look in light dark; do
    wine reg add "$personalize" /v AppsUseLightTheme /t REG_DWORD /d $([ $look = dark ] && echo 0 || echo 1) /f \
        >/dev/null 2>&1
    if start_lumivex "$settings" 71 history; then
        probe command $IDM_MEMORY_HISTORY >/dev/null
        if lumivex_wait_for 90 window_rect LumivexMemoryHistory; then
            sleep 1
            if [ $look = dark ]; then
                probe key LumivexMemoryHistory Button 39 >/dev/null
                sleep 1
            fi
            read -r x y w h < <(window_rect LumivexMemoryHistory)
            shot "memory-history-$look" "$x" "$y" "$w" "$h"
        else
            fail "the memory history did not open ($look)"
        fi
        stop_lumivex
    fi
done
wine reg delete "$personalize" /v AppsUseLightTheme /f >/dev/null 2>&1 || true

if [ $update_docs = 1 ]; then
    # The options pages are in docs/options already (tools/options_screenshots.sh).
    mkdir -p docs/screenshots
    for file in "$out"/*.png; do
        case "$(basename "$file")" in options-page-* | desktop*.png) ;; *) cp "$file" docs/screenshots/ ;; esac
    done
    echo "Copied to docs/screenshots/."
fi
[ $failures -eq 0 ] && echo "All screenshots taken." || echo "$failures screenshot(s) failed." >&2
exit $((failures > 0))
