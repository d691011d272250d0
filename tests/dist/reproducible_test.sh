#!/usr/bin/env bash
# Builds the 32-bit Lumivex.exe and its distributions twice, from copies of these sources in two folders of
# different names, and compares the results byte for byte: executable, symbols, zip, installer and manifests.
#   tests/dist/reproducible_test.sh [work folder]   (default build/reproducible; removed at the end)
# The time of the current commit is the release time of both, as tools/dist.sh takes it. The second build compiles
# everything afresh (ccache recompiles and stores), so the comparison covers the compiler's output too. Both go
# through ccache as the presets do, so both name their sources the same way (relative to the build folder when
# CCACHE_BASEDIR covers it).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=${1:-$root/build/reproducible}
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}

# The files of the checkout as they are now (tracked ones, with uncommitted changes), without its build folders.
build_in() {  # folder [environment]
    local dir=$1
    shift
    mkdir -p "$dir"
    (cd "$root" && git ls-files -z --cached --others --exclude-standard | xargs -0 tar -cf - --no-recursion) |
        tar -xf - -C "$dir"
    (cd "$dir" &&
        cmake --preset mingw-i686 -DLUMIVEX_TESTS=OFF >/dev/null &&
        env "$@" cmake --build --preset mingw-i686 --target Lumivex -- -j"${LUMIVEX_JOBS:-2}" >/dev/null &&
        bash tools/dist.sh --no-build --out "$dir/dist" >/dev/null 2>&1) || { echo "build in $dir failed" >&2; return 1; }
    (cd "$dir" && sha256sum build/mingw-i686/bin/Lumivex.exe build/mingw-i686/bin/Lumivex-*.debug &&
        cd dist && find . -type f | LC_ALL=C sort | xargs -d '\n' sha256sum)
}

first=$(build_in "$work/a")
second=$(build_in "$work/second-folder" CCACHE_RECACHE=1)
echo "$first"
if [ "$first" != "$second" ]; then
    echo "FAILED: the two builds differ:" >&2
    diff <(echo "$first") <(echo "$second") >&2 || true
    exit 1
fi
echo "Both builds are byte-identical."
