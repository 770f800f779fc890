#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the libFuzzer targets with clang-14 into build-fuzz and runs each of them.
#
#   scripts/fuzz.sh                    what the test command runs: every saved input of
#                                      tests/corpus/<target> replayed, then a fixed seed and a fixed
#                                      number of runs over a copy of that corpus, so the same commit
#                                      always gets the same verdict
#   scripts/fuzz.sh --explore [SECS]   exploration: a fresh random seed and SECS seconds per target
#                                      (default 600); new inputs are kept in build-fuzz/found/<target>
#
# Fails when a target crashes, breaks an invariant, runs out of memory or stalls; the input is left in
# build-fuzz/artifacts/. Add it to tests/corpus/<target>/ together with its fix.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mode=fixed
seconds=600
if [ "${1:-}" = "--explore" ]; then
    mode=explore
    seconds=${2:-600}
fi

# Runs per target in the fixed stage: half a minute or so each on one quiet core.
declare -A runs=([jpeg_header]=200000 [gif_header]=1000000 [html_escape]=500000 [bmp_header]=1000000
                 [gif_counts]=500000 [metafiles]=3000 [gif_frames]=100000)
targets=(jpeg_header gif_header html_escape bmp_header gif_counts metafiles gif_frames)
seed=20261211

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DTESSALOOM_FUZZ=ON -DTESSALOOM_TESTS=OFF >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-fuzz/artifacts
failed=()
for target in "${targets[@]}"; do
    bin="build-fuzz/fuzz/fuzz_$target"
    log="build-fuzz/fuzz_$target.log"
    common=(-rss_limit_mb=2048 -timeout=25 -max_len=1048576 -dict="fuzz/$target.dict"
            -artifact_prefix="$root/build-fuzz/artifacts/$target-")
    # Every saved input once, on its own: a former crash or stall that comes back is named at once.
    echo "== fuzz_$target: replaying $(ls "tests/corpus/$target" | wc -l) saved inputs"
    if ! "$bin" "${common[@]}" "tests/corpus/$target"/* >"$log" 2>&1; then
        failed+=("$target (a saved input)")
        tail -n 40 "$log"
        continue
    fi
    work=$(mktemp -d "/tmp/tessaloom-fuzz-$target.XXXXXX")
    cp -r "tests/corpus/$target/." "$work/"
    if [ "$mode" = fixed ]; then
        echo "== fuzz_$target: seed $seed, ${runs[$target]} runs"
        limits=(-seed="$seed" -runs="${runs[$target]}")
    else
        echo "== fuzz_$target: random seed, ${seconds}s"
        limits=(-max_total_time="$seconds")
    fi
    if ! "$bin" "${common[@]}" "${limits[@]}" -print_final_stats=1 "$work" >>"$log" 2>&1; then
        failed+=("$target")
        tail -n 40 "$log"
    else
        grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$log" || true
    fi
    if [ "$mode" = explore ]; then
        mkdir -p "build-fuzz/found/$target"
        cp -n "$work"/* "build-fuzz/found/$target/" 2>/dev/null || true
    fi
    rm -rf "$work"
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]} (inputs in build-fuzz/artifacts/; add them to tests/corpus/<target>/ with the fix)"
    exit 1
fi
echo "fuzzing: no faults"
