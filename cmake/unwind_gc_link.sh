#!/usr/bin/env bash
# Links a 32-bit Windows executable so that --gc-sections also drops the functions nothing calls.
#   cmake/unwind_gc_link.sh <compiler> <link arguments...>   (the target's linker launcher)
#
# Why: the 32-bit compiler describes each function's stack for exceptions in .eh_frame, and a template or inline
# function (one of the libstdc++ string members, say) gets its own .eh_frame$<name> beside its .text$<name>. The
# linker's own script keeps every .eh_frame section, and what they point at with them, so before this link
# garbage collection dropped no function that can pass an exception on: the whole of libstdc++'s string members and
# every unused template stayed in the program.
#
# So the program is linked three times with the same arguments:
#   1. to print the linker's own script;
#   2. with that script keeping the .eh_frame$<name> sections only when something calls <name>, which shows the
#      functions nothing calls (the unwind entries themselves call nothing);
#   3. with the script keeping the .eh_frame$<name> of every other function: the executable. A kept function whose
#      unwind entry was dropped would end the program when an exception passes through it, so the link fails if
#      the third link dropped the entry of a function it kept.
set -euo pipefail
export LC_ALL=C

out=
previous=
for argument in "$@"; do
    [ "$previous" = -o ] && out=$argument
    previous=$argument
done
[ -n "$out" ] || { echo "$0: no -o in the link command" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs the link with extra arguments; its list of removed sections goes to $work/$1.gc as "file<TAB>section", the
# other messages to stderr.
link() {
    local name=$1
    shift
    if ! "${@:2}" >"$work/$name.out" 2>"$work/$name.err"; then
        cat "$work/$name.out" "$work/$name.err" >&2
        return 1
    fi
    sed -n "s/^.*removing unused section '\([^'[]*\)[^']*' in file '\(.*\)'$/\2\t\1/p" "$work/$name.err" \
        | sort -u >"$work/$name.gc"
    if [ "$1" = show ]; then grep -v "removing unused section '" "$work/$name.err" >&2 || true; fi
}

# The (file, function) pairs of the removed sections named <prefix><function>.
removed() { awk -F'\t' -v prefix="$2" 'index($2, prefix) == 1 { print $1 "\t" substr($2, length(prefix) + 1) }' "$work/$1.gc" | sort -u; }

link verbose quiet "$@" -Wl,--verbose
sed -n '/^==================================================/,/^==================================================/p' \
    "$work/verbose.out" | sed '1d;$d' >"$work/default.ld"
keep_all='    KEEP(*(.eh_frame*))'
grep -qxF "$keep_all" "$work/default.ld" || { echo "$0: the linker's script does not keep .eh_frame* as expected" >&2; exit 1; }

# The linker's script with the unwind entries of the functions named in $work/$1 kept, and the others only when
# something refers to them. The runtime reads the entries up to crtend.o's end marker, which stays last.
script() {
    {
        echo '    KEEP(*(EXCLUDE_FILE(*crtend.o) .eh_frame))'
        sed 's/.*/    KEEP(*(.eh_frame$&))/' "$work/$1"
        echo '    *(EXCLUDE_FILE(*crtend.o) .eh_frame$*)'
        echo '    KEEP(*crtend.o(.eh_frame*))'
    } >"$work/$1.lines"
    awk -v keep="$keep_all" -v lines="$work/$1.lines" \
        '$0 == keep { while ((getline line < lines) > 0) print line; next } { print }' "$work/default.ld" >"$work/$1.ld"
}

: >"$work/none"
script none
link probe quiet "$@" -Wl,-T,"$work/none.ld" -Wl,--print-gc-sections
# A function is called when its entry was dropped but its code was not (by pair: two files may each have a local
# function of the same name).
comm -23 <(removed probe '.eh_frame$') <(removed probe '.text$') | cut -f2 | sort -u >"$work/called"

script called
link final show "$@" -Wl,-T,"$work/called.ld" -Wl,--print-gc-sections
lost=$(comm -23 <(removed final '.eh_frame$') <(removed final '.text$'))
if [ -n "$lost" ]; then
    rm -f "$out"
    echo "$0: $out would keep functions without their unwind entries (file, function):" >&2
    echo "$lost" >&2
    exit 1
fi
