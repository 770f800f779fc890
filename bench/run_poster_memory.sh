#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Peak memory of `tessaloom-page FOLDER KIND --posters missing` on one-second 7680x4320 movies (MPEG-2,
# H.264 in AVI, MJPEG in AVI) and on a 64x48 one (what the program costs without a big frame), against
# ffmpeg decoding the same movie on one thread (`ffmpeg -threads 1 -i MOVIE -f null -`): the floor the
# same libav decoder sets. The goal is a peak under 200 MB for any movie. Peak = ru_maxrss, read by
# /usr/bin/time; memory, unlike time, does not depend on the machine's load.
# Usage: [POSTER_BENCH_MAKER=PATH] bench/run_poster_memory.sh [SECONDS=1]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(dirname "$here")
work=${POSTER_BENCH_DIR:-$src/build-bench/poster-memory}
seconds=${1:-1}
goalMb=200

# POSTER_BENCH_MAKER names a tessaloom-page already built; otherwise a Release build is made.
maker=${POSTER_BENCH_MAKER:-}
if [ -z "$maker" ]; then
    build=${BENCH_BUILD_DIR:-$src/build-bench}
    cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTESSALOOM_TESTS=OFF >/dev/null
    cmake --build "$build" -j2 --target tessaloom-page >/dev/null
    maker=$build/app/tessaloom-page
fi

# make NAME SIZE CODEC FILE: a folder NAME holding one movie FILE, made once.
make_movie() {
    local folder=$work/$1
    mkdir -p "$folder"
    [ -s "$folder/$4" ] ||
        ffmpeg -loglevel quiet -nostdin -y -f lavfi -i "testsrc2=size=$2:rate=25" -t "$seconds" \
            -c:v "$3" "$folder/$4"
}

# Peak resident memory in MB of one command.
peak_mb() {
    /usr/bin/time -f "%M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" ||
        { cat "$work/err.txt" >&2; return 1; }
    echo $(($(tail -1 "$work/time.txt") / 1024))
}

mkdir -p "$work"
make_movie tiny 64x48 mpeg2video Clip.mpg
make_movie mpeg2 7680x4320 mpeg2video Clip.mpg
make_movie h264 7680x4320 libx264 Clip.avi
make_movie mjpeg 7680x4320 mjpeg Clip.avi

echo "tessaloom-page --posters missing, one ${seconds}s movie per folder; goal: peak under $goalMb MB"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-8s %-10s %10s %12s %8s  %s\n' movie size "ours MB" "ffmpeg MB" ratio goal
for entry in tiny/Clip.mpg mpeg2/Clip.mpg h264/Clip.avi mjpeg/Clip.avi; do
    name=${entry%%/*}
    folder=$work/$name
    movie=$work/$entry
    kind=${movie##*.}
    rm -f "$folder"/*.jpg "$folder"/*.htm
    ours=$(peak_mb "$maker" "$folder" "$kind" --posters missing)
    peer=$(peak_mb ffmpeg -loglevel quiet -nostdin -threads 1 -i "$movie" -f null -)
    size=$(ffprobe -v error -select_streams v -show_entries stream=width,height -of csv=p=0:s=x "$movie" | head -1 | sed "s/x$//")
    verdict=$([ "$ours" -lt "$goalMb" ] && echo met || echo "NOT met")
    printf '%-8s %-10s %10d %12d %8s  %s\n' "$name" "$size" "$ours" "$peer" \
        "$(awk -v a="$ours" -v b="$peer" 'BEGIN { printf "%.2f", a / b }')" "$verdict"
done
