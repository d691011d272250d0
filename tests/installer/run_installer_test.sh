#!/usr/bin/env bash
# Runs the installer test under Wine when Wine can run 32-bit Windows programs, as the NSIS installer and its
# uninstaller are; elsewhere (a 64-bit kernel without 32-bit support) it says why and exits 77, which CTest
# counts as skipped.
#   run_installer_test.sh <tools/wine-run.sh> <lumivex_installer_tests.exe> [gtest arguments]
set -uo pipefail
# Wine starts a 32-bit program through its 32-bit loader; where that cannot run, no 32-bit program can.
loader=""
for candidate in /usr/lib/wine/wine /usr/lib/i386-linux-gnu/wine/wine /opt/wine-stable/bin/wine; do
    [ -x "$candidate" ] && { loader=$candidate; break; }
done
if [ -n "$loader" ] && ! probe=$("$loader" --version 2>&1); then
    echo "Skipped: this machine cannot run 32-bit Windows programs under Wine, as the installer is ($loader: $probe)."
    exit 77
fi
exec bash "$@"
