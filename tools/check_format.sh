#!/usr/bin/env bash
# Fails when a C++ file of src, tests, bench, tools or fuzz differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
files=()
while IFS= read -r -d '' f; do files+=("$f"); done < <(find src tests bench tools fuzz \( -name '*.cpp' -o -name '*.h' \) -print0)
clang-format --dry-run -Werror "${files[@]}"
echo "Formatting: ${#files[@]} files as clang-format makes them."
