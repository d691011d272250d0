#!/usr/bin/env bash
# The refresh tick and the tray menu's process rows against their floors under Wine (32-bit build; the 64-bit one
# with LUMIVEX_BENCH_PRESET=mingw-x64, where 32-bit Wine cannot run), on a virtual display of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${LUMIVEX_BENCH_PRESET:-mingw-i686}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target lumivex_bench_tick lumivex_bench_menu_rows >/dev/null
export LUMIVEX_HEADLESS=${LUMIVEX_HEADLESS:-1}
source tools/wine-env.sh
trap lumivex_wine_stop EXIT
lumivex_wine_start
wine "build/$preset/bin/lumivex_bench_tick.exe"
wine "build/$preset/bin/lumivex_bench_menu_rows.exe"
