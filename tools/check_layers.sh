#!/usr/bin/env bash
# Fails when a folder of src/ includes a folder above it. The layers, bottom first; a folder may include its own
# files and those of any folder on a lower line.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(
    platform
    settings
    memory
    widgets
    tray
    processes
    system
    update
    options
    app
)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

status=0
for dir in src/*/; do
    folder=$(basename "$dir")
    if [ -z "${rank[$folder]+x}" ]; then
        echo "src/$folder: not in the layer list of tools/check_layers.sh" >&2
        status=1
        continue
    fi
    while IFS=: read -r file line text; do
        target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$text")
        [ -z "${rank[$target]+x}" ] && continue
        if [ "${rank[$target]}" -gt "${rank[$folder]}" ]; then
            echo "$file:$line: $folder includes $target, a layer above it" >&2
            status=1
        fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include "[a-z_]+/' -r "$dir" --include='*.h' --include='*.cpp' || true)
done
[ $status -eq 0 ] && echo "Layers: no folder includes one above it."
exit $status
