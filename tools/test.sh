#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively (ASan, UBSan), then the 32-bit and 64-bit
# Windows builds under Wine, the fuzz targets for a bounded time, the screenshots and a short soak. Exits non-zero
# when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh || exit 1
export LUMIVEX_HEADLESS=1
source tools/wine-env.sh

status=0
run() {
    echo "==> $*"
    "$@" || { echo "FAILED: $*" >&2; status=1; return 1; }
}

presets=(native mingw-i686 mingw-x64 fuzz)
[ -n "${LUMIVEX_PRESETS:-}" ] && read -r -a presets <<<"$LUMIVEX_PRESETS"

trap lumivex_wine_stop EXIT
for preset in "${presets[@]}"; do
    if [[ "$preset" == mingw-* ]] && [ -z "$lumivex_xvfb_pid" ] && [ -z "${lumivex_wine_started:-}" ]; then
        lumivex_wine_start
        lumivex_wine_started=1
    fi
    run cmake --preset "$preset" >/dev/null &&
        run cmake --build --preset "$preset" -- -j"${LUMIVEX_JOBS:-$(nproc)}" &&
        run ctest --preset "$preset" ${LUMIVEX_CTEST_ARGS:-}
done
# What a user sees, from the real program on a desktop with a taskbar: a missing, black or blank picture fails.
if [[ " ${presets[*]} " == *" mingw-i686 "* ]]; then
    run bash tools/screenshots.sh
fi
# A two-minute soak of the 64-bit build (the ten-minute one: bash tools/soak.sh).
if [[ " ${presets[*]} " == *" mingw-x64 "* ]]; then
    run bash tools/soak.sh --minutes 2 --warmup 40
fi
[ $status -eq 0 ] && echo "All test suites passed." || echo "Some test suites failed." >&2
exit $status
