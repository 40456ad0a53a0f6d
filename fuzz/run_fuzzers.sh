#!/usr/bin/env bash
# Runs every fuzz target of a fuzzing build for a fixed time and fails on the first finding.
#   fuzz/run_fuzzers.sh <build-dir> [seconds per target]
# Each target starts from its seed corpus in fuzz/corpus/<name>/ plus what earlier runs found in
# <build-dir>/corpus/<name>/; the seed corpus in the repository is never written. A finding is
# kept as <build-dir>/findings/<name>-crash-... ; replay it with
#   <build-dir>/fuzz/fuzz_<name> <that file>
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: run_fuzzers.sh <build-dir> [seconds]}"
seconds="${2:-30}"

# Readable stacks in a finding's report.
for s in llvm-symbolizer-14 /usr/lib/llvm-14/bin/llvm-symbolizer llvm-symbolizer; do
    if command -v "$s" > /dev/null; then
        export ASAN_SYMBOLIZER_PATH="$(command -v "$s")"
        break
    fi
done
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

mkdir -p "$build/findings"
failed=()
# A fuzzer without seeds would never run here.
for fuzzer in "$build"/fuzz/fuzz_*; do
    name="$(basename "$fuzzer")"
    name="${name#fuzz_}"
    if [ ! -d "$here/corpus/$name" ]; then
        echo "fuzz: $fuzzer has no seed corpus in fuzz/corpus/$name/" >&2
        failed+=("$name")
    fi
done
start=$SECONDS
for seeds in "$here"/corpus/*/; do
    name="$(basename "$seeds")"
    fuzzer="$build/fuzz/fuzz_$name"
    if [ ! -x "$fuzzer" ]; then
        echo "fuzz: no fuzzer for the corpus $name ($fuzzer)" >&2
        failed+=("$name")
        continue
    fi
    mkdir -p "$build/corpus/$name"
    dict=()
    [ -f "$here/$name.dict" ] && dict=(-dict="$here/$name.dict")
    echo "fuzz: $name for ${seconds}s"
    # -timeout: an input taking over 10 s is a hang; -rss_limit_mb: a runaway allocation.
    if "$fuzzer" "$build/corpus/$name" "$seeds" "${dict[@]}" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/findings/$name-" -print_final_stats=1 \
        > "$build/findings/$name.log" 2>&1; then
        grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|cov: ' \
            "$build/findings/$name.log" | tail -n 3 | sed 's/^/      /'
    else
        echo "fuzz: $name FOUND A FAULT; its report:" >&2
        tail -n 60 "$build/findings/$name.log" >&2
        failed+=("$name")
    fi
done

echo "fuzz: $(( SECONDS - start ))s in all"
targets=$(find "$here/corpus" -mindepth 1 -maxdepth 1 -type d | wc -l)
echo "fuzz: $(( targets - ${#failed[@]} )) passed, ${#failed[@]} failed"
if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz: findings in ${failed[*]} (inputs in $build/findings/)" >&2
    exit 1
fi
