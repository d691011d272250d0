#!/usr/bin/env bash
# The naming check: clang-tidy's readability-identifier-naming (.clang-tidy) over every source file of the tree,
# the Windows files compiled as the 64-bit MinGW build compiles them, the rest as the native build does. Exits
# non-zero on any identifier outside the scheme. --fix renames what clang-tidy can rename by itself (declaration and
# every use it sees), then checks again.
set -uo pipefail
cd "$(dirname "$0")/.."
fixes=""
if [ "${1:-}" = --fix ]; then
    fixes=$(mktemp -d)
    trap 'rm -rf "$fixes"' EXIT
fi
export LUMIVEX_TIDY_FIXES=$fixes

# The compile commands come from configuring the presets; nothing is built.
for preset in native mingw-x64 mingw-i686 fuzz; do
    cmake --preset "$preset" >/dev/null || { echo "check_naming: cannot configure $preset" >&2; exit 1; }
done

# clang reads the MinGW headers as the cross compiler does: its C++ library first, then the Windows headers.
mingw_args() {
    local args=("--extra-arg=--target=$1" --extra-arg=-nostdinc++) dir
    while read -r dir; do
        args+=("--extra-arg=-isystem$dir")
    done < <(echo | "$1-g++-posix" -E -x c++ - -v 2>&1 |
        sed -n '/#include <...> search starts here/,/End of search list/p' | grep '^ /' |
        grep -v '/include$\|/include-fixed$')
    echo "${args[*]}"
}
export LUMIVEX_TIDY_ARGS_mingw_x64 LUMIVEX_TIDY_ARGS_mingw_i686
LUMIVEX_TIDY_ARGS_mingw_x64=$(mingw_args x86_64-w64-mingw32)
LUMIVEX_TIDY_ARGS_mingw_i686=$(mingw_args i686-w64-mingw32)

in_db() { grep -qF "\"file\": \"$PWD/$2\"" "build/$1/compile_commands.json"; }

jobs=()
while IFS= read -r f; do
    if in_db mingw-x64 "$f"; then
        jobs+=("mingw-x64 $f")
    elif in_db mingw-i686 "$f"; then
        jobs+=("mingw-i686 $f")
    elif in_db native "$f"; then
        jobs+=("native $f")
    elif in_db fuzz "$f"; then
        jobs+=("fuzz $f")
    else
        echo "check_naming: $f is compiled by no preset" >&2
        exit 1
    fi
done < <(git ls-files --cached --others --exclude-standard 'src/*.cpp' 'tests/*.cpp' 'tools/*.cpp' 'bench/*.cpp' 'fuzz/*.cpp')

# One clang-tidy per file, two at a time; every diagnostic of the program's own files is a failure.
tidy_one() {
    local extra=()
    local var="LUMIVEX_TIDY_ARGS_${1//-/_}"
    [[ "$1" == mingw-* ]] && read -r -a extra <<<"${!var}"
    local export=()
    [ -n "$LUMIVEX_TIDY_FIXES" ] && export=("--export-fixes=$LUMIVEX_TIDY_FIXES/$(echo "$2" | tr / _).yaml")
    clang-tidy --quiet -p "build/$1" --extra-arg=-w "${extra[@]}" "${export[@]}" "$2" 2>&1
}
export -f tidy_one
report=$(printf '%s\n' "${jobs[@]}" | xargs -P "${LUMIVEX_JOBS:-$(nproc)}" -n 2 bash -c 'tidy_one "$0" "$1"')
if [ -n "$fixes" ]; then
    # One edit per place, however many files saw the same header.
    clang-apply-replacements --remove-change-desc-files "$fixes"
    exec bash "$0"
fi
problems=$(grep -E '^[^ ]+:[0-9]+:[0-9]+: (error|warning):.*\[(readability-identifier-naming|clang-diagnostic-error)' <<<"$report" | sort -u)
# clang-tidy cannot forbid a prefix: a type named like TFoo (a Delphi-style T before a capitalised word) is
# refused here.
prefixed=$(git ls-files --cached --others --exclude-standard 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'tools/*.cpp' 'tools/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' |
    xargs grep -nE '^\s*(template\s*<[^>]*>\s*)?(class|struct|union|enum( class| struct)?|using|typedef)\s+T[A-Z][a-z]' |
    sed 's/$/ [a type named with the T prefix]/')
problems=$(printf '%s\n%s' "$problems" "$prefixed" | sed '/^$/d')
if [ -n "$problems" ]; then
    echo "$problems"
    echo "Naming: $(wc -l <<<"$problems") identifiers outside the scheme (.clang-tidy, README \"Naming\")." >&2
    exit 1
fi
echo "Naming: ${#jobs[@]} files follow the scheme."
