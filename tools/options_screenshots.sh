#!/usr/bin/env bash
# Makes a PNG screenshot of every page of the options dialog "Lumivex 设置" under Xvfb and Wine, into docs/options
# (or the folder given as the first argument). Each picture is the dialog alone, cut from the virtual screen.
# LUMIVEX_LANGUAGE=en shows the dialog in English (pictures named *-en.png); LUMIVEX_SHOTS_PRESET=mingw-x64 takes
# the 64-bit build (for machines whose Wine runs no 32-bit programs).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/options}
language=${LUMIVEX_LANGUAGE:-zh}
suffix=""
[ "$language" = zh ] || suffix=-$language
# At 150 % (LUMIVEX_DPI=144, in a prefix of its own) the pictures are named *-150.png.
[ "${LUMIVEX_DPI:-96}" = 144 ] && suffix=$suffix-150
# The shipped 32-bit build, or the 64-bit one where this machine cannot run 32-bit programs.
preset=${LUMIVEX_SHOTS_PRESET:-$(source tools/wine-env.sh && lumivex_runnable_preset)}
bash tools/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target lumivex-options-shots Lumivex >/dev/null
export LUMIVEX_HEADLESS=1 LUMIVEX_SCREEN=${LUMIVEX_SCREEN:-1024x768x24}
# A prefix of its own: the font link below must not change how the tests' prefix draws text.
export LUMIVEX_WINEPREFIX=${LUMIVEX_WINEPREFIX:-$PWD/build/wine-screenshots}
source tools/wine-env.sh
handshake=$(mktemp -d)
cleanup() {
    lumivex_wine_stop
    rm -rf "$handshake"
}
trap cleanup EXIT
lumivex_wine_start
lumivex_wine_cjk_fonts
lumivex_wine_dpi
mkdir -p "$out"

names=(general assist tray display themes)
wine "build/$preset/bin/lumivex-options-shots.exe" "$(winepath -w "$handshake")" "$language" &
shots_pid=$!
for page in 0 1 2 3 4; do
    ready="$handshake/page-$page.ready"
    for _ in $(seq 600); do
        [ -s "$ready" ] && break
        kill -0 "$shots_pid" 2>/dev/null || { echo "lumivex-options-shots ended early" >&2; exit 1; }
        sleep 0.1
    done
    [ -s "$ready" ] || { echo "page $page did not show" >&2; exit 1; }
    read -r x y w h <"$ready"
    sleep 0.5  # let the page finish painting
    file="$out/options-$page-${names[$page]}$suffix.png"
    import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$file"
    echo "$file"
    touch "$handshake/page-$page.done"
done
wait "$shots_pid"
