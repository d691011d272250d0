#!/usr/bin/env bash
# Runs one Windows executable under Wine without prompts; CMake uses it as the cross-compiling emulator.
# The prefix and the right loader come from wine-env.sh, as in the scripts that start Wine.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec wine "$@"
