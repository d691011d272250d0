#!/usr/bin/env bash
# The refresh tick and the tray menu's process rows against their floors under Wine (32-bit build), on a virtual
# display of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686 --target lumivex_bench_tick lumivex_bench_menu_rows >/dev/null
export LUMIVEX_HEADLESS=${LUMIVEX_HEADLESS:-1}
source tools/wine-env.sh
trap lumivex_wine_stop EXIT
lumivex_wine_start
wine build/mingw-i686/bin/lumivex_bench_tick.exe
wine build/mingw-i686/bin/lumivex_bench_menu_rows.exe
