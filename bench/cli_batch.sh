#!/usr/bin/env bash
# Times morvane-cli over large batches on standard input (best of three runs).
set -euo pipefail
cli=${1:-build/cli/morvane-cli}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
seq 0 999999 | awk '{ print $1 % 524288 }' > "$tmp/hotstamps"

best() {  # best wall time in seconds of three runs of "$@"
    local best=999
    for _ in 1 2 3; do
        local start end t
        start=$(date +%s.%N)
        "$@" > /dev/null
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc -l)
        best=$(echo "if ($t < $best) $t else $best" | bc -l)
    done
    printf '%.3f' "$best"
}

echo "convert --format 37 --facility 123, 1,000,000 hotstamps: $(best sh -c "'$cli' convert --format 37 --facility 123 < '$tmp/hotstamps'") s"
if "$cli" --help | grep -q "^  split"; then
    "$cli" convert --format 26 --facility 12 < <(head -n 100000 "$tmp/hotstamps" | awk '{ print $1 % 65536 }') > "$tmp/carddata"
    echo "split --json, 100,000 card data: $(best sh -c "'$cli' split --json < '$tmp/carddata'") s"
fi
