#!/bin/sh
# Writes a seed corpus for each fuzz target in the target's own input format, from CASL II
# programs and test files of casl2 check: OUTPUT/test_file gets the test files as they are;
# OUTPUT/assemble gets the sources as files are read (CP932 as written, and UTF-16 with
# its byte-order mark); OUTPUT/trace gets inputs laid out as fuzz_trace reads them: one byte of
# options (breakpoint line times two, plus one for the simple data display), one byte giving the
# length of the answer script, the script, then the source.
#
# usage: make_seeds.sh OUTPUT SOURCE.cas|TESTS.toml...
set -eu

output=$1
shift
rm -rf "$output/assemble" "$output/trace" "$output/test_file"
mkdir -p "$output/assemble" "$output/trace" "$output/test_file"

seed=0
for source in "$@"; do
    case $source in
    *.toml)
        seed=$((seed + 1))
        cp "$source" "$output/test_file/$seed-$(basename "$source")"
        continue
        ;;
    esac
    name=$(basename "$source" .cas)
    cp "$source" "$output/assemble/$name.cas"
    if command -v iconv >/dev/null 2>&1; then
        utf16="$output/assemble/$name-utf16.cas"
        printf '\377\376' >"$utf16"
        iconv -f CP932 -t UTF-16LE "$source" >>"$utf16" 2>/dev/null || rm -f "$utf16"
    fi

    trace() {
        { printf "$2"; cat "$source"; } >"$output/trace/$name-$1.bin"
    }
    trace plain '\000\000'
    trace simple '\001\000'
    trace breakpoint-line-3 '\006\000'
    # Eight bytes of answers: Yes and No to the questions, and characters for IN.
    trace answers '\000\010\377\252\125\000\377\101\102\200'
done
