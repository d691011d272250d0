#!/usr/bin/env bash
# Builds everything and runs every test: formatting and layer checks, the portable core natively (ASan, UBSan),
# then the 32-bit and 64-bit Windows builds under Wine, the fuzz targets for a bounded time, the screenshots and a
# short soak. Exits non-zero when anything fails. --fast stops after the checks and the native tests.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh || exit 1
export LUMIVEX_HEADLESS=1
# The compiler cache serves every checkout of the project alike: paths relative to it, not to one folder.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
source tools/wine-env.sh

status=0
run() {
    echo "==> $*"
    "$@" || { echo "FAILED: $*" >&2; status=1; return 1; }
}

# The quick checks come first, so a fault there shows in a minute: formatting, the layers of src/, the naming scheme, the spelling of the English texts.
run bash tools/check_format.sh
run bash tools/check_layers.sh
run bash tools/check_naming.sh
run python3 tools/check_spelling.py

presets=(native mingw-i686 mingw-x64 fuzz)
[ -n "${LUMIVEX_PRESETS:-}" ] && read -r -a presets <<<"$LUMIVEX_PRESETS"
# --fast: the quick checks and the portable core's native tests only.
[ "${1:-}" = --fast ] && presets=(native)

trap lumivex_wine_stop EXIT
for preset in "${presets[@]}"; do
    if [[ "$preset" == mingw-* ]] && [ -z "$lumivex_xvfb_pid" ] && [ -z "${lumivex_wine_started:-}" ]; then
        lumivex_wine_start
        lumivex_wine_started=1
    fi
    run cmake --preset "$preset" >/dev/null &&
        run cmake --build --preset "$preset" -- -j"${LUMIVEX_JOBS:-$(nproc)}" || continue
    if [ "$preset" = mingw-i686 ] && ! lumivex_can_run_win32; then
        echo "==> mingw-i686: only the tests that need no Wine: this machine's kernel cannot run 32-bit programs," \
            "so 32-bit Wine cannot start (the mingw-x64 tests run the same code)."
        run ctest --preset "$preset" -L nowine ${LUMIVEX_CTEST_ARGS:-}
        continue
    fi
    run ctest --preset "$preset" ${LUMIVEX_CTEST_ARGS:-}
done
# What a user sees, from the real program on a desktop with a taskbar: a missing, black or blank picture fails.
if [[ " ${presets[*]} " == *" $(lumivex_runnable_preset) "* ]]; then
    run bash tools/screenshots.sh
fi
# A two-minute soak of the 64-bit build (the ten-minute one: bash tools/soak.sh).
if [[ " ${presets[*]} " == *" mingw-x64 "* ]]; then
    run bash tools/soak.sh --minutes 2 --warmup 40
fi
[ $status -eq 0 ] && echo "All test suites passed." || echo "Some test suites failed." >&2
exit $status
