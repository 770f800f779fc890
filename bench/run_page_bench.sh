#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The command-line maker over a folder of 12-megapixel pictures, side by side with llgal over the same
# folder (llgal -d DIR -s --tx 400 --ty 400; ours at 10 %, 400x300 thumbnails), then our run on one core
# against two, and a rerun that keeps the up-to-date thumbnails against what listing and measuring cost.
# The folder holds PICTURES names hard-linked to DISTINCT pictures made by make_corpus.sh.
# Usage: bench/run_page_bench.sh [PICTURES=2000] [DISTINCT=24]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(dirname "$here")
work=${PAGE_BENCH_DIR:-$src/build-bench/page-bench}
count=${1:-2000}
distinct=${2:-24}

"$here/install_peers.sh"

build=${BENCH_BUILD_DIR:-$src/build-bench}
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTESSALOOM_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target bench_page_runs tessaloom-page >/dev/null
maker=$build/app/tessaloom-page
runs=$build/bench/bench_page_runs

corpus=${THUMBS_BENCH_DIR:-$src/build-bench/thumbs-bench}/corpus
"$here/make_corpus.sh" "$corpus" "$distinct"

# A folder of `count` names, each a hard link to one of the distinct pictures.
fill() {
    rm -rf "$1"
    mkdir -p "$1"
    for ((i = 0; i < count; i++)); do
        ln "$corpus/p$((i % distinct + 1)).jpg" "$(printf '%s/photo%05d.jpg' "$1" "$i")"
    done
}

# Prints "seconds peakMB cpu%" of one command.
timed() {
    /usr/bin/time -f "%e %M %P" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" ||
        { cat "$work/err.txt" >&2; return 1; }
    awk '{printf "%s %d %s\n", $1, $2 / 1024, $3}' "$work/time.txt"
}

mkdir -p "$work"
echo "$count pictures of 4000x3000 ($distinct distinct, hard-linked), thumbnails 400x300 / 400x400 box"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
fill "$work/ours"
read -r ours ourMem ourCpu < <(timed taskset -c 0,1 "$maker" --percent 10 --overwrite "$work/ours" jpg)
fill "$work/llgal"
# llgal runs ImageMagick's convert found on PATH: Debian's own, whatever else stands earlier on PATH.
read -r llgal llgalMem llgalCpu < <(timed env PATH=/usr/bin:/bin taskset -c 0,1 llgal -d "$work/llgal" -s --tx 400 --ty 400)
printf "%-28s %9s %9s %7s\n" run seconds "peak MB" cpu
printf "%-28s %9s %9s %7s\n" "tessaloom-page, 2 cores" "$ours" "$ourMem" "$ourCpu"
printf "%-28s %9s %9s %7s\n" "llgal, 2 cores" "$llgal" "$llgalMem" "$llgalCpu"
awk -v a="$ours" -v b="$llgal" 'BEGIN{printf "ours / llgal: %.3fx (goal under 0.12x)\n\n", a/b}'

echo "The whole run (bench_page_runs: the same run in one process), one core against two:"
fill "$work/ours"
one=$(taskset -c 0 "$runs" "$work/ours" 4 full | awk '/^full/{print $2}')
two=$(taskset -c 0,1 "$runs" "$work/ours" 4 full | awk '/^full/{print $2}')
awk -v a="$one" -v b="$two" 'BEGIN{printf "  full run: one core %.2f s, two cores %.2f s: %.2fx (goal at least 1.85x)\n\n", a, b, a/b}'

echo "A rerun keeping the up-to-date thumbnails, against listing and measuring the same folder:"
taskset -c 0,1 "$runs" "$work/ours" 4 measure rerun | sed 's/^/  /'
