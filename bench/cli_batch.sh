#!/usr/bin/env bash
# morvane-cli over large batches from a file to /dev/null, beside `cat` of the same file in the
# same run: lines per second by wall clock and by CPU time (user + system, which other load on
# the machine disturbs less), each the best of five runs, and the ratio to cat.
set -euo pipefail
cli=${1:-build/cli/morvane-cli}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
seq 0 999999 | awk '{ print $1 % 524288 }' > "$tmp/hotstamps"
for f in "26 12" "34 99" "35 4000" "35V 7" "36V 4095" "37V 1" "37 300" "Proxif 5" "Casi 200"; do
    set -- $f
    head -n 11112 "$tmp/hotstamps" | "$cli" convert --format "$1" --facility "$2"
done | head -n 100000 > "$tmp/carddata"

best() {  # "wall-ns cpu-ns": the best of five runs of "$@" < $input
    local wall=0 cpu=0 TIMEFORMAT='%3U %3S'
    for _ in 1 2 3 4 5; do
        local start end times
        start=$(date +%s%N)
        times=$( { time "$@" < "$input" > /dev/null 2>&1 || true; } 2>&1 )
        end=$(date +%s%N)
        local c
        c=$(awk -v t="$times" 'BEGIN { split(t, a, " "); printf "%d", (a[1] + a[2]) * 1e9 }')
        if (( wall == 0 || end - start < wall )); then wall=$((end - start)); fi
        if (( cpu == 0 || c < cpu )); then cpu=$c; fi
    done
    echo "$wall $cpu"
}

report() {  # label, lines, "wall cpu" of the command, "wall cpu" of cat
    awk -v label="$1" -v n="$2" -v t="$3" -v c="$4" 'BEGIN {
        split(t, m, " "); split(c, k, " ");
        cpu = m[2] > 0 ? sprintf("%6.1f", n / m[2] * 1000) : "     -";
        printf "%-42s wall %6.1f M lines/s (cat %6.1f, ratio %4.1fx)   cpu %s M lines/s\n",
               label, n / m[1] * 1000, n / k[1] * 1000, m[1] / k[1], cpu }'
}

input="$tmp/hotstamps"
cat_times=$(best cat)
report "convert --format 37, 1,000,000 hotstamps" 1000000 \
    "$(best "$cli" convert --format 37 --facility 123)" "$cat_times"
input="$tmp/carddata"
cat_times=$(best cat)
report "split --json, 100,000 card data" 100000 "$(best "$cli" split --json)" "$cat_times"
