#!/usr/bin/env bash
# Soak: the 32-bit Lumivex.exe under Wine at RefreshRate 100 for ten minutes, with the tray menu opened and closed
# every few seconds and memory freed ("内存清理") every minute. Prints the process's kernel handles, GDI objects,
# windows and private bytes after the first minute and at the end, and fails when the end is beyond a small bound
# of the first minute.
# It runs the 64-bit build by default: Wine 8 keeps a GDI handle table that can be counted only for 64-bit
# processes (GetGuiResources answers 0 under Wine); --arch win32 soaks the 32-bit build without the GDI figure.
#   bash tools/soak.sh [--minutes N] [--warmup SECONDS] [--arch win64|win32]   (defaults 10, 60, win64)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
minutes=10
warmup=60
preset=mingw-x64
while [ $# -gt 0 ]; do
    case "$1" in
        --minutes) minutes=$2; shift 2 ;;
        --warmup) warmup=$2; shift 2 ;;
        --arch) [ "$2" = win32 ] && preset=mingw-i686; shift 2 ;;
        *) echo "usage: tools/soak.sh [--minutes N] [--warmup SECONDS] [--arch win64|win32]" >&2; exit 2 ;;
    esac
done
# Growth allowed from the first minute to the end.
max_handles=16
max_gdi=16
max_windows=2
max_private_kib=4096

bash tools/setup.sh || exit 1
cmake --preset $preset >/dev/null || exit 1
cmake --build --preset $preset --target Lumivex lumivex-probe -- -j"${LUMIVEX_JOBS:-$(nproc)}" >/dev/null || exit 1
bin=$root/build/$preset/bin

export LUMIVEX_HEADLESS=${LUMIVEX_HEADLESS:-1}
export LUMIVEX_SCREEN=1024x768x24
# A prefix of its own (the one tools/options_screenshots.sh uses): the linked CJK font must not change how the
# tests' prefix draws text.
export LUMIVEX_WINEPREFIX=${LUMIVEX_WINEPREFIX:-$root/build/wine-screenshots}
source tools/wine-env.sh
app=$root/build/soak/app
rm -rf "$app"
mkdir -p "$app"
cp "$bin/Lumivex.exe" "$app/"
printf '[General]\r\nShowPercentage=1\r\nRefreshRate=100\r\nWarn=0\r\nWarnMsgBox=0\r\n' >"$app/Lumivex.Settings"

probe() { wine "$bin/lumivex-probe.exe" "$@"; }
IDM_MEMORY_DEFRAGMENTER=40002

lumivex_wine_start
desktop_pid=""
cleanup() {
    probe end >/dev/null 2>&1 || true
    [ -n "$desktop_pid" ] && wait "$desktop_pid" 2>/dev/null
    lumivex_wine_stop
}
trap cleanup EXIT

wine explorer /desktop=shell,1024x768 "$(winepath -w "$app/Lumivex.exe")" >/dev/null 2>&1 &
desktop_pid=$!
probe wait 40 >/dev/null || { echo "soak: Lumivex did not start" >&2; exit 1; }
xdotool mousemove 1000 758

start=$SECONDS
end=$((start + minutes * 60))
next_free=$((start + 60))
baseline=""
menus=0
frees=0
while [ $SECONDS -lt $end ]; do
    probe tray right >/dev/null 2>&1
    sleep 1
    probe close '#32768' >/dev/null 2>&1 && menus=$((menus + 1))
    if [ $SECONDS -ge $next_free ]; then
        probe command $IDM_MEMORY_DEFRAGMENTER >/dev/null 2>&1 && frees=$((frees + 1))
        next_free=$((next_free + 60))
    fi
    if [ -z "$baseline" ] && [ $((SECONDS - start)) -ge "$warmup" ]; then
        baseline=$(probe stats | tr -d '\r') || { echo "soak: Lumivex is gone" >&2; exit 1; }
        echo "after ${warmup} s: $baseline"
    fi
    sleep 2
done
final=$(probe stats | tr -d '\r') || { echo "soak: Lumivex is gone" >&2; exit 1; }
[ -n "$baseline" ] || baseline=$final
echo "after $((SECONDS - start)) s: $final"
echo "$preset build, RefreshRate 100; menus opened and closed: $menus, memory freed: $frees times"

value() { sed -n "s/.*$1=\([0-9-]*\).*/\1/p" <<<"$2"; }
status=0
check() {  # name key allowed-growth [divisor]
    local a b
    a=$(value "$2" "$baseline")
    b=$(value "$2" "$final")
    local growth=$(((b - a) / ${4:-1}))
    printf '  %-14s %12s -> %12s  (%+d%s)\n' "$1" "$a" "$b" "$growth" "${5:-}"
    if [ "$growth" -gt "$3" ]; then
        echo "soak: $1 grew by $growth, more than $3" >&2
        status=1
    fi
}
check "handles" handles $max_handles
check "GDI objects" gdi $max_gdi
check "windows" windows $max_windows
check "private bytes" private $max_private_kib 1024 " KiB"
[ $status -eq 0 ] && echo "Soak passed." || echo "Soak failed." >&2
exit $status
