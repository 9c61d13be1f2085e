#!/bin/sh
# Fuzzes one of the readers for SECONDS (default 60).
#
#   [FUZZ_TARGET=NAME] fuzz/run.sh [SECONDS] [extra libFuzzer options...]
#
# NAME is fuzz_csv_reader (the address file's reader and writer, the
# default), fuzz_label_templates, fuzz_postal_readers or fuzz_import_readers.
# Builds it with clang in build-fuzz/, runs it on a scratch copy of its seed
# corpus (the seeds stay as committed) and writes crashes and mismatches to
# fuzz/findings/. Set FUZZ_KEEP_CORPUS=1 to keep the grown corpus. Exits
# non-zero when libFuzzer found something.
set -eu

cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
case $seconds in
    ''|*[!0-9]*) echo "usage: fuzz/run.sh [SECONDS] [libFuzzer options...]" >&2; exit 2 ;;
esac

"$root/scripts/install-clang.sh"

build=$root/build-fuzz
if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
        -DYUZARIBO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
target=${FUZZ_TARGET:-fuzz_csv_reader}
case $target in
    fuzz_csv_reader) seeds=corpus ;;
    fuzz_label_templates) seeds=corpus_label_templates ;;
    fuzz_postal_readers) seeds=corpus_postal ;;
    fuzz_import_readers) seeds=corpus_import ;;
    *) echo "fuzz/run.sh: no fuzz target $target" >&2; exit 2 ;;
esac
cmake --build "$build" --target "$target"

findings=$root/fuzz/findings
mkdir -p "$findings"
scratch=$(mktemp -d "$build/corpus.XXXXXX")
cleanup() {
    if [ "${FUZZ_KEEP_CORPUS:-0}" = 1 ]; then
        echo "grown corpus kept in $scratch" >&2
    else
        rm -rf "$scratch"
    fi
}
trap cleanup EXIT
mkdir "$scratch/corpus"
cp "$root"/fuzz/$seeds/* "$scratch/corpus/"

# The tokens of the format, in CP932, so mutations reach past the header.
printf '%s\n' \
    'comma=","' 'quote="\x22"' 'crlf="\x0d\x0a"' 'cr="\x0d"' 'lf="\x0a"' 'blank=" "' 'tab="\x09"' \
    'count="(32767)"' 'count_over="(32768)"' 'name="\x8e\x81\x96\xbc"' \
    'ideographic_space="\x81\x40"' 'wave="\x81\x60"' 'nec="\x87\x40"' 'ibm="\xfb\xfc"' \
    'lead="\x81"' 'kana="\xb1"' 'yen="\x5c"' \
    'header="\x8e\x81\x96\xbc(1),\x93\x64\x98\x62\x94\xd4\x8d\x86,\x83\x81\x81\x5b\x83\x8b\x83\x41\x83\x68\x83\x8c\x83\x58,\x81\xa7,\x8f\x5a\x8f\x8a1,\x8f\x5a\x8f\x8a2,\x88\xea\x8c\xbe\x83\x81\x83\x82\x0d\x0a"' \
    >"$scratch/csv.dict"
dictionary=""
[ "$target" = fuzz_csv_reader ] && dictionary="-dict=$scratch/csv.dict"

echo "fuzzing for ${seconds}s; findings go to fuzz/findings/" >&2
status=0
UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
"$build/fuzz/$target" "$scratch/corpus" \
    -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    $dictionary -artifact_prefix="$findings/" "$@" || status=$?
exit $status
