#!/usr/bin/env bash
# Installs what building, running and testing Lumivex needs on Debian 12 (or Ubuntu), and nothing when it is all there.
set -euo pipefail

packages=(cmake ninja-build g++ ccache googletest libbenchmark-dev valgrind
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          wine wine32:i386 wine64 xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei python3
          nsis zip unzip osslsigncode openssl clang-14 libclang-rt-14-dev clang-format clang-tidy
          hunspell hunspell-en-us)

missing=()
for p in "${packages[@]}"; do
    name=${p%%:*}
    arch=${p#*:}
    [ "$arch" = "$p" ] && arch=""
    if ! dpkg-query -W -f='${Status}' "${name}${arch:+:$arch}" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
