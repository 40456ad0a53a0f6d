#!/usr/bin/env bash
# morvane-cli over large batches from a file to /dev/null, beside `cat` of the same file in the
# same run: lines per second, best of five, and the ratio to cat.
set -euo pipefail
cli=${1:-build/cli/morvane-cli}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
seq 0 999999 | awk '{ print $1 % 524288 }' > "$tmp/hotstamps"
for f in "26 12" "34 99" "35 4000" "35V 7" "36V 4095" "37V 1" "37 300" "Proxif 5" "Casi 200"; do
    set -- $f
    head -n 11112 "$tmp/hotstamps" | "$cli" convert --format "$1" --facility "$2"
done | head -n 100000 > "$tmp/carddata"

best() {  # best wall time in nanoseconds of five runs of "$@" < $input
    local best=0
    for _ in 1 2 3 4 5; do
        local start end
        start=$(date +%s%N)
        "$@" < "$input" > /dev/null || true
        end=$(date +%s%N)
        if (( best == 0 || end - start < best )); then best=$((end - start)); fi
    done
    echo "$best"
}

report() {  # label, lines, nanoseconds, baseline nanoseconds
    awk -v label="$1" -v n="$2" -v t="$3" -v c="$4" 'BEGIN {
        printf "%-44s %8.1f M lines/s   cat %8.1f M lines/s   ratio %5.1fx\n",
               label, n / t * 1000, n / c * 1000, t / c }'
}

input="$tmp/hotstamps"
cat_ns=$(best cat)
report "convert --format 37, 1,000,000 hotstamps" 1000000 \
    "$(best "$cli" convert --format 37 --facility 123)" "$cat_ns"
input="$tmp/carddata"
cat_ns=$(best cat)
report "split --json, 100,000 card data" 100000 "$(best "$cli" split --json)" "$cat_ns"
