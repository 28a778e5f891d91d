#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one of them over a corpus.
#   scripts/fuzz.sh rtf [SECONDS]       RTF reader, builders, writer, conversions
#   scripts/fuzz.sh notebook [SECONDS]  notebook reading
# The RTF corpus is seeded from ../shared/testdata/rtf when that folder exists.
# Findings are written to fuzz-out/<target>/ (crash-*, timeout-*, oom-*).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
target="${1:-rtf}"
seconds="${2:-600}"
build="${VELLINOR_FUZZ_BUILD:-$here/build-fuzz}"

case "$target" in
rtf) exe=rtf_fuzz ;;
notebook) exe=fuzz_notebook ;;
*)
    echo "unknown target: $target (rtf or notebook)" >&2
    exit 2
    ;;
esac

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELLINOR_FUZZ=ON >/dev/null
cmake --build "$build" --target "$exe"

out="$here/fuzz-out/$target"
corpus="$out/corpus"
mkdir -p "$corpus"
if [ "$target" = rtf ] && [ -d "$here/../shared/testdata/rtf" ]; then
    cp -n "$here"/../shared/testdata/rtf/*.rtf "$corpus"/ 2>/dev/null || true
fi
if [ "$target" = notebook ] && [ ! -e "$corpus/seed-plain.vlr" ]; then
    # Without real notebooks to start from, few inputs would get past the header.
    cmake --build "$build" --target vlr
    vlr="$build/bin/vlr"
    export VLR_PASSWORD=password # the password the target unlocks with
    for kind in plain compress encrypt; do
        seed="$corpus/seed-$kind.vlr"
        flags=()
        [ "$kind" = plain ] || flags=("--$kind")
        "$vlr" new "$seed" --title "Семена" "${flags[@]}" >/dev/null
        printf '{\\rtf1\\ansi\\ansicpg1251 \\b one\\b0\\par}' | "$vlr" add "$seed" --name "rich" --body - >/dev/null
        printf 'plain text\n' | "$vlr" add "$seed" --name "plain" --plain --body - >/dev/null
        "$vlr" add "$seed" --name "child" --under 0 >/dev/null
        "$vlr" rm "$seed" 1 >/dev/null
    done
    unset VLR_PASSWORD
fi
cd "$out"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
exec "$build/bin/$exe" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
    -max_len=200000
