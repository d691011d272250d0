#!/usr/bin/env bash
# The refresh tick and the tray menu's process rows against their floors (with the memory history's window and
# minute query), a save into and a read of a 20 MB settings file the old way and the new, and the program's private
# bytes and idle CPU beside a minimal tray meter, under Wine, on a virtual display of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
# The shipped 32-bit build, or the 64-bit one where this machine cannot run 32-bit programs.
preset=$(source tools/wine-env.sh && lumivex_runnable_preset)
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target lumivex_bench_tick lumivex_bench_menu_rows lumivex_bench_save \
    lumivex_bench_footprint >/dev/null
export LUMIVEX_HEADLESS=${LUMIVEX_HEADLESS:-1}
source tools/wine-env.sh
trap lumivex_wine_stop EXIT
lumivex_wine_start
wine build/$preset/bin/lumivex_bench_tick.exe
wine build/$preset/bin/lumivex_bench_menu_rows.exe
wine build/$preset/bin/lumivex_bench_save.exe
wine build/$preset/bin/lumivex_bench_footprint.exe
lumivex_wine_stop
trap - EXIT
bash bench/idle_cpu.sh
