#!/usr/bin/env bash
# Idle CPU of the program beside a minimal tray meter (one window, one icon, a 500 ms timer; the footprint
# benchmark's), both started side by side and left alone for 10 minutes (LUMIVEX_IDLE_MINUTES) under Wine: the
# program ticks at its default rate, records the memory history and reads the process list once a minute. Wine answers
# GetProcessTimes for another process with zeros, so the figures are the user and system time Linux counts for each
# program's process (/proc/PID/stat); the wineserver's share of their calls is in neither.
set -euo pipefail
cd "$(dirname "$0")/.."
# The shipped 32-bit build, or the 64-bit one where this machine cannot run 32-bit programs.
preset=$(source tools/wine-env.sh && lumivex_runnable_preset)
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Lumivex lumivex_bench_minimal_meter >/dev/null
minutes=${LUMIVEX_IDLE_MINUTES:-10}
bin=build/$preset/bin
export LUMIVEX_HEADLESS=${LUMIVEX_HEADLESS:-1}
source tools/wine-env.sh
trap lumivex_wine_stop EXIT
lumivex_wine_start

# The Linux process of a running Windows program, by its file name.
unix_pid() { pgrep -n -f "$1"; }
# Its CPU time so far in milliseconds: fields 14 and 15 of /proc/PID/stat, in clock ticks.
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{ printf "%d\n", ($14 + $15) * 1000 / hz }' "/proc/$1/stat"; }

wine "$bin/lumivex_bench_minimal_meter.exe" >/dev/null 2>&1 &
wine "$bin/Lumivex.exe" >/dev/null 2>&1 &
lumivex_wait_for 60 unix_pid lumivex_bench_minimal_meter.exe
lumivex_wait_for 60 unix_pid Lumivex.exe
meter=$(unix_pid lumivex_bench_minimal_meter.exe)
lumivex=$(unix_pid Lumivex.exe)
# Start-up and the first ticks are over before the clock starts.
sleep 10
meter_before=$(cpu_ms "$meter")
lumivex_before=$(cpu_ms "$lumivex")
sleep $((minutes * 60))
meter_ms=$(($(cpu_ms "$meter") - meter_before))
lumivex_ms=$(($(cpu_ms "$lumivex") - lumivex_before))
span_ms=$((minutes * 60000))
awk -v m="$meter_ms" -v l="$lumivex_ms" -v s="$span_ms" -v n="$minutes" 'BEGIN {
    printf "idle CPU over %d minutes: minimal tray meter %6d ms (%.3f %% of a core)\n", n, m, 100 * m / s
    printf "idle CPU over %d minutes: Lumivex            %6d ms (%.3f %% of a core), %.2f x the minimal meter\n",
        n, l, 100 * l / s, (m > 0 ? l / m : 0)
}'
