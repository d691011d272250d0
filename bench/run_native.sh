#!/usr/bin/env bash
# Native figures of the render + hint of one tick: nanoseconds (Google Benchmark) and instructions (callgrind); then
# the memory history's tick and the process growth's minute beside their floors.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native --target lumivex_bench_render lumivex_bench_history >/dev/null
bench=build/native/bench/lumivex_bench_render
[ -x "$bench" ] || bench=build/native/bin/lumivex_bench_render
"$bench" --benchmark_min_time=0.2
renders=1000
out=$(mktemp)
valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect='*RenderLoop*' "$bench" --renders $renders \
    >/dev/null 2>&1
total=$(awk '/^summary:/ {print $2}' "$out")
rm -f "$out"
echo "callgrind: $((total / renders)) instructions per render + hint (defaults, $renders renders)"
history=build/native/bin/lumivex_bench_history
[ -x "$history" ] || history=build/native/bench/lumivex_bench_history
"$history" --benchmark_min_time=0.2
