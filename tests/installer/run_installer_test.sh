#!/usr/bin/env bash
# Runs the installer test under Wine. The shipped installer and its uninstaller are 32-bit programs; where Wine
# cannot run those (a 64-bit kernel without 32-bit support), the test installs the same installer built as a 64-bit
# program (makensis's amd64-unicode target) and signed the same way, and says so.
#   run_installer_test.sh <tools/wine-run.sh> <lumivex_installer_tests.exe> [gtest arguments]
# LUMIVEX_SETUP names the installer as Wine sees it (Z:/...).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tools/wine-env.sh"
if ! lumivex_can_run_win32; then
    setup=${LUMIVEX_SETUP#Z:}
    out=$(dirname "$setup")-amd64
    echo "This machine cannot run 32-bit programs: installing the installer built as a 64-bit program ($out)."
    LUMIVEX_INSTALLER_TARGET=amd64-unicode bash "$root/tests/dist/signed_dist_test.sh" "$out" >"$out.log" 2>&1 ||
        { cat "$out.log" >&2; exit 1; }
    export LUMIVEX_SETUP="Z:$out/$(basename "$setup")"
fi
exec bash "$@"
