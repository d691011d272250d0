#!/usr/bin/env bash
# Builds what is handed to users into one folder (dist/ unless --out says otherwise):
#   Lumivex-<version>-win32-portable.zip, Lumivex-<version>-win64-portable.zip  Lumivex.exe, "Lumivex.Settings"
#       (so the copy runs in portable mode, e.g. from a USB stick) and the "Themes" folder with the first-run themes
#       of res/themes
#   Lumivex-<version>-setup.exe  the installer: the 32-bit or 64-bit build to match Windows
#   Lumivex-<version>-win32.debug, Lumivex-<version>-win64.debug  the debug information of each Lumivex.exe (its
#       debug link names the file), for reading crash reports; not in the zips nor the installer
#   SHA256SUMS                   sums of all of them, in the format `sha256sum -c` reads
#   winget/, scoop/              the manifests of the winget and Scoop package managers (tools/package_manifests.py)
# --no-build packages the executables already in build/mingw-i686 and build/mingw-x64 (the 64-bit one may be
# missing there: the installer then ships only the 32-bit build and no 64-bit zip is made).
# --release is for files that will be published: it refuses to run while the maker's addresses (in the program
# and in the manifests) are the placeholder site of the build's defaults.
#
# Signing: with LUMIVEX_SIGN_PFX and LUMIVEX_SIGN_PASSWORD_FILE set (and optionally LUMIVEX_SIGN_TIMESTAMP_URL),
# Lumivex.exe of both architectures, the uninstaller and the installer are signed (tools/sign.sh, or the command
# LUMIVEX_SIGN_TOOL names: one that signs the files it is given in place, e.g. with a key on a token).
# Same commit, same bytes: file times and the release date come from SOURCE_DATE_EPOCH, by default the time of the
# last commit; unsigned, two runs give identical files.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

out=dist
build=1
release=0
while [ $# -gt 0 ]; do
    case "$1" in
        --out) out=$2; shift 2 ;;
        --no-build) build=0; shift ;;
        --release) release=1; shift ;;
        *) echo "usage: tools/dist.sh [--out folder] [--no-build] [--release]" >&2; exit 2 ;;
    esac
done

sign=0
if [ -n "${LUMIVEX_SIGN_PFX:-}" ]; then
    [ -f "$LUMIVEX_SIGN_PFX" ] || { echo "LUMIVEX_SIGN_PFX names no file: $LUMIVEX_SIGN_PFX" >&2; exit 1; }
    [ -f "${LUMIVEX_SIGN_PASSWORD_FILE:-}" ] ||
        { echo "LUMIVEX_SIGN_PASSWORD_FILE must name the file with the password of $LUMIVEX_SIGN_PFX" >&2; exit 1; }
    command -v osslsigncode >/dev/null || { echo "signing needs osslsigncode (bash tools/setup.sh)" >&2; exit 1; }
    sign=1
    signer=${LUMIVEX_SIGN_TOOL:-$root/tools/sign.sh}
else
    echo "Not signed: set LUMIVEX_SIGN_PFX and LUMIVEX_SIGN_PASSWORD_FILE to sign (see README, Distributions)." >&2
fi

if [ $build = 1 ]; then
    bash tools/setup.sh
    # ccache hands the compiler paths relative to the build folder when CCACHE_BASEDIR covers it, and the debug
    # information keeps them: every release build names its sources that way.
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
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
addresses=$root/build/mingw-i686/generated/maker_addresses.txt
[ -f "$addresses" ] || { echo "missing $addresses (configure the mingw-i686 preset)" >&2; exit 1; }
if [ $release = 1 ] && grep -q '\.example\b' "$addresses"; then
    echo "tools/dist.sh --release: the maker's addresses are the placeholder site" \
        "($(sed -n 's/^HOME_URL=//p' "$addresses"))." >&2
    echo "Set the real one when configuring, e.g. cmake --preset mingw-i686 -DLUMIVEX_SITE_URL=https://... (and the" >&2
    echo "same for mingw-x64), or each address on its own (LUMIVEX_RELEASES_URL, LUMIVEX_UPDATE_FILE_URL, ...)." >&2
    exit 1
fi
export LUMIVEX_SIGN_URL=${LUMIVEX_SIGN_URL:-$(sed -n 's/^HOME_URL=//p' "$addresses")}

# The first-run theme files (res/themes).
themes=()
while IFS= read -r -d '' f; do themes+=("$f"); done < <(
    find "$root/res/themes" -maxdepth 1 -type f -name '*.Lumivex Theme' -print0 2>/dev/null | LC_ALL=C sort -z)

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# Same input, same bytes: file times come from the last commit, zip's local times are UTC, names sort bytewise.
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 946684800)}
export SOURCE_DATE_EPOCH=$stamp TZ=UTC LC_ALL=C
umask 022

# Each executable as shipped: checked (size, imports, no debug information left), then signed when asked.
declare -A shipped symbols
for arch in win32 win64; do
    [ $arch = win32 ] && exe=$exe32 || exe=$exe64
    [ -f "$exe" ] || continue
    debug=$(dirname "$exe")/Lumivex-$version-$arch.debug
    [ -f "$debug" ] || { echo "missing $debug, the symbols of $exe" >&2; exit 1; }
    bash tools/check_shipped.sh "$exe"
    mkdir -p "$stage/exe/$arch"
    shipped[$arch]=$stage/exe/$arch/Lumivex.exe
    symbols[$arch]=$debug
    cp "$exe" "${shipped[$arch]}"
    [ $sign = 0 ] || bash "$signer" "${shipped[$arch]}"
    chmod 755 "${shipped[$arch]}"
    touch -d "@$stamp" "${shipped[$arch]}"
done

portable_zip() {  # arch exe
    local dir=$stage/$1/Lumivex
    mkdir -p "$dir/Themes"
    cp "$2" "$dir/Lumivex.exe"
    # An empty settings file marks the copy as portable; its byte-order mark makes the program keep it in
    # UTF-16, which its Chinese section names need.
    printf '\xff\xfe' >"$dir/Lumivex.Settings"
    [ ${#themes[@]} -eq 0 ] || cp "${themes[@]}" "$dir/Themes/"
    find "$stage/$1" -type f ! -name '*.exe' -exec chmod 644 {} +
    find "$stage/$1" -exec touch -h -d "@$stamp" {} +
    local zip=$out/Lumivex-$version-$1-portable.zip
    rm -f "$zip"
    (cd "$stage/$1" && find Lumivex | sort | zip -X -q "$zip" -@)
    echo "$zip"
}

artifacts=()
artifacts+=("$(portable_zip win32 "${shipped[win32]}")")
[ -z "${shipped[win64]:-}" ] || artifacts+=("$(portable_zip win64 "${shipped[win64]}")")
for arch in win32 win64; do
    [ -n "${symbols[$arch]:-}" ] || continue
    cp "${symbols[$arch]}" "$out/"
    touch -d "@$stamp" "$out/$(basename "${symbols[$arch]}")"
    artifacts+=("$out/$(basename "${symbols[$arch]}")")
done

# The installer's list of theme files, as NSIS lines for installing and for uninstalling them. The installer
# keeps each file's time, so they get the commit's.
mkdir -p "$stage/themes"
nsh=$stage/themes.nsh
{
    echo '!macro LumivexInstallThemes'
    for f in "${themes[@]}"; do
        copy=$stage/themes/$(basename "$f")
        cp "$f" "$copy"
        touch -d "@$stamp" "$copy"
        echo "    File \"${copy//\$/\$\$}\""
    done
    echo '!macroend'
    echo '!macro LumivexUninstallThemes'
    for f in "${themes[@]}"; do
        name=$(basename "$f")
        echo "    Delete \"\${DATA_FOLDER}\\Themes\\${name//\$/\$\$}\""
    done
    echo '!macroend'
} >"$nsh"

setup=$out/Lumivex-$version-setup.exe
rm -f "$setup"
defines=(-DVERSION="$version" -DOUTFILE="$setup" -DEXE32="${shipped[win32]}" -DTHEMES_NSH="$nsh")
[ -z "${shipped[win64]:-}" ] || defines+=(-DEXE64="${shipped[win64]}")
[ $sign = 0 ] || defines+=(-DSIGN="$signer")
# Only for the installer test on a machine that cannot run 32-bit programs: the same installer as a 64-bit program.
[ -z "${LUMIVEX_INSTALLER_TARGET:-}" ] || defines+=(-DTARGET="$LUMIVEX_INSTALLER_TARGET")
makensis -V2 -INPUTCHARSET UTF8 "${defines[@]}" tools/installer/lumivex.nsi >&2
touch -d "@$stamp" "$setup"
artifacts+=("$setup")

# The package managers' manifests point at the files as published on the maker's site.
manifest_args=(--out "$out" --version "$version" --date "$stamp" --addresses "$addresses" --setup "$setup"
    --zip32 "$out/Lumivex-$version-win32-portable.zip")
[ -z "${shipped[win64]:-}" ] || manifest_args+=(--zip64 "$out/Lumivex-$version-win64-portable.zip")
rm -rf "$out/winget" "$out/scoop"
python3 tools/package_manifests.py "${manifest_args[@]}" >/dev/null

(cd "$out" && for a in "${artifacts[@]}"; do basename "$a"; done | xargs -d '\n' sha256sum >SHA256SUMS)

# What a user unpacks must be complete: the program, the settings file that makes it portable, the themes; and
# nothing more (the symbols are published beside the zips).
for zip in "$out"/Lumivex-"$version"-win*-portable.zip; do
    listing=$(unzip -Z1 "$zip")
    for entry in Lumivex/Lumivex.exe Lumivex/Lumivex.Settings Lumivex/Themes/ "${themes[@]/#*\//Lumivex/Themes/}"; do
        grep -qxF "$entry" <<<"$listing" || { echo "$zip lacks $entry" >&2; exit 1; }
    done
    ! grep -q '\.debug$' <<<"$listing" || { echo "$zip holds symbols" >&2; exit 1; }
done
(cd "$out" && sha256sum --quiet -c SHA256SUMS)
echo "Made in $out$([ $sign = 1 ] && echo ' (signed)'):"
(cd "$out" && cat SHA256SUMS)
