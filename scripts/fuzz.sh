#!/bin/bash
# Builds the libFuzzer targets with clang-14 into build-fuzz and runs each for a while on a copy of
# its corpus (tests/corpus/<target>). Fails when a target finds a crash; the input is left in
# build-fuzz/artifacts/. TESSALOOM_FUZZ_SECONDS sets the time per target (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${TESSALOOM_FUZZ_SECONDS:-60}
targets=(jpeg_header gif_header html_escape bmp_header gif_counts metafiles)

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DTESSALOOM_FUZZ=ON -DTESSALOOM_TESTS=OFF >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

mkdir -p build-fuzz/artifacts
failed=()
for target in "${targets[@]}"; do
    work=$(mktemp -d "/tmp/tessaloom-fuzz-$target.XXXXXX")
    cp -r "tests/corpus/$target/." "$work/"
    echo "== fuzz_$target for ${seconds}s"
    if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=25 \
        -max_len=1048576 -print_final_stats=1 -dict="fuzz/$target.dict" \
        -artifact_prefix="$root/build-fuzz/artifacts/$target-" "$work" 2>"build-fuzz/fuzz_$target.log"; then
        failed+=("$target")
        tail -n 40 "build-fuzz/fuzz_$target.log"
    else
        grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "build-fuzz/fuzz_$target.log" || true
    fi
    rm -rf "$work"
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found crashes in: ${failed[*]} (inputs in build-fuzz/artifacts/; add them to tests/corpus/<target>/ with the fix)"
    exit 1
fi
echo "fuzzing: no crashes"
