#!/usr/bin/env bash
# Runs one Windows executable under Wine without prompts; CMake uses it as the cross-compiling emulator.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
