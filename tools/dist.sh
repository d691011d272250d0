#!/usr/bin/env bash
# Builds what is handed to users into one folder (dist/ unless --out says otherwise):
#   Lumivex-<version>-win32-portable.zip, Lumivex-<version>-win64-portable.zip  Lumivex.exe, "Lumivex.Settings"
#       (so the copy runs in portable mode, e.g. from a USB stick) and the "Themes" folder with the first-run themes
#       of res/themes
#   Lumivex-<version>-setup.exe  the installer: the 32-bit or 64-bit build to match Windows
#   SHA256SUMS                   sums of the three, in the format `sha256sum -c` reads
# --no-build packages the executables already in build/mingw-i686 and build/mingw-x64 (the 64-bit one may be
# missing there: the installer then ships only the 32-bit build and no 64-bit zip is made).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

out=dist
build=1
while [ $# -gt 0 ]; do
    case "$1" in
        --out) out=$2; shift 2 ;;
        --no-build) build=0; shift ;;
        *) echo "usage: tools/dist.sh [--out folder] [--no-build]" >&2; exit 2 ;;
    esac
done

if [ $build = 1 ]; then
    bash tools/setup.sh
    for preset in mingw-i686 mingw-x64; do
        cmake --preset "$preset" >/dev/null
        cmake --build --preset "$preset" --target Lumivex -- -j"${LUMIVEX_JOBS:-$(nproc)}"
    done
fi

version=$(sed -n 's/^project(Lumivex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
exe32=$root/build/mingw-i686/bin/Lumivex.exe
exe64=$root/build/mingw-x64/bin/Lumivex.exe
[ -f "$exe32" ] || { echo "missing $exe32 (build the mingw-i686 preset)" >&2; exit 1; }
[ $build = 0 ] || [ -f "$exe64" ] || { echo "missing $exe64" >&2; exit 1; }

# The first-run theme files (res/themes).
themes=()
while IFS= read -r -d '' f; do themes+=("$f"); done < <(
    find "$root/res/themes" -maxdepth 1 -type f -name '*.Lumivex Theme' -print0 2>/dev/null | sort -z)

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# Same input, same bytes: file times come from the last commit.
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 946684800)

portable_zip() {  # arch exe
    local dir=$stage/$1/Lumivex
    mkdir -p "$dir/Themes"
    cp "$2" "$dir/Lumivex.exe"
    # An empty settings file marks the copy as portable; its byte-order mark makes the program keep it in
    # UTF-16, which its Chinese section names need.
    printf '\xff\xfe' >"$dir/Lumivex.Settings"
    [ ${#themes[@]} -eq 0 ] || cp "${themes[@]}" "$dir/Themes/"
    find "$stage/$1" -exec touch -h -d "@$stamp" {} +
    local zip=$out/Lumivex-$version-$1-portable.zip
    rm -f "$zip"
    (cd "$stage/$1" && find Lumivex | sort | zip -X -q "$zip" -@)
    echo "$zip"
}

artifacts=()
artifacts+=("$(portable_zip win32 "$exe32")")
[ -f "$exe64" ] && artifacts+=("$(portable_zip win64 "$exe64")")

# The installer's list of theme files, as NSIS lines for installing and for uninstalling them.
nsh=$stage/themes.nsh
{
    echo '!macro LumivexInstallThemes'
    for f in "${themes[@]}"; do echo "    File \"${f//\$/\$\$}\""; done
    echo '!macroend'
    echo '!macro LumivexUninstallThemes'
    for f in "${themes[@]}"; do
        name=$(basename "$f")
        echo "    Delete \"\${DATA_FOLDER}\\Themes\\${name//\$/\$\$}\""
    done
    echo '!macroend'
} >"$nsh"

setup=$out/Lumivex-$version-setup.exe
defines=(-DVERSION="$version" -DOUTFILE="$setup" -DEXE32="$exe32" -DTHEMES_NSH="$nsh")
[ -f "$exe64" ] && defines+=(-DEXE64="$exe64")
makensis -V2 -INPUTCHARSET UTF8 "${defines[@]}" tools/installer/lumivex.nsi >&2
artifacts+=("$setup")

(cd "$out" && for a in "${artifacts[@]}"; do basename "$a"; done | xargs -d '\n' sha256sum >SHA256SUMS)

# What a user unpacks must be complete: the program, the settings file that makes it portable, the themes.
for zip in "$out"/Lumivex-"$version"-win*-portable.zip; do
    listing=$(unzip -Z1 "$zip")
    for entry in Lumivex/Lumivex.exe Lumivex/Lumivex.Settings Lumivex/Themes/ "${themes[@]/#*\//Lumivex/Themes/}"; do
        grep -qxF "$entry" <<<"$listing" || { echo "$zip lacks $entry" >&2; exit 1; }
    done
done
(cd "$out" && sha256sum --quiet -c SHA256SUMS)
echo "Made in $out:"
(cd "$out" && cat SHA256SUMS)
