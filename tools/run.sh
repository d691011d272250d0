#!/usr/bin/env bash
# Builds Lumivex.exe and starts it under Wine in a desktop window. With a display it opens there;
# without one it runs on a virtual display and keeps a PNG screenshot of it fresh. Ctrl+C ends Lumivex the way
# "退出" does (its settings are saved), then the display.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh || exit 1
# The shipped 32-bit build, or the 64-bit one where this machine cannot run 32-bit programs.
preset=$(source tools/wine-env.sh && lumivex_runnable_preset)
cmake --preset "$preset" >/dev/null || exit 1
cmake --build --preset "$preset" --target Lumivex || exit 1
export LUMIVEX_SCREEN=${LUMIVEX_SCREEN:-1024x768x24}
# A prefix of its own, with a Chinese font linked to Tahoma so the captions read as on Windows (the tests' prefix
# keeps Wine's plain fonts).
export LUMIVEX_WINEPREFIX=${LUMIVEX_WINEPREFIX:-$PWD/build/wine-run}
source tools/wine-env.sh
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
lumivex_wine_start
lumivex_wine_cjk_fonts

exe=build/$preset/bin/Lumivex.exe
# An installed copy finds the first-run themes in the per-user themes folder; the build puts them beside the
# program (where a portable copy looks). Themes the user already has there are kept.
themes="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Brindell/Lumivex/Themes"
mkdir -p "$themes" && cp -n res/themes/*.Lumivex\ Theme "$themes"/ 2>/dev/null || true
shots=build/screenshots
mkdir -p "$shots"
desktop=${LUMIVEX_DESKTOP:-1024x768}
setsid wine explorer /desktop=shell,$desktop "$exe" &
desktop_pid=$!

stopping=0
stop() {
    [ $stopping = 1 ] && return
    stopping=1
    echo "Ending Lumivex ..." >&2
    # Ending the Wine session asks every program to close, as a log-off does: Lumivex saves its settings.
    # wineboot runs on Lumivex's desktop, since a session end reaches only the windows of its own desktop.
    wine explorer /desktop=shell,$desktop wineboot --end-session >/dev/null 2>&1 || true
    for _ in $(seq 50); do
        kill -0 "$desktop_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$desktop_pid" 2>/dev/null || true
    lumivex_wine_stop
    exit 0
}
trap stop INT TERM

if [ $headless = 1 ]; then
    echo "No display: Lumivex runs on the virtual display $DISPLAY."
    echo "Screenshot, refreshed every few seconds: $(pwd)/$shots/desktop.png"
    while kill -0 "$desktop_pid" 2>/dev/null; do
        sleep 3 &
        wait $! 2>/dev/null
        import -display "$DISPLAY" -window root "$shots/desktop.tmp.png" 2>/dev/null &&
            mv "$shots/desktop.tmp.png" "$shots/desktop.png"
    done
else
    wait "$desktop_pid"
fi
lumivex_wine_stop
