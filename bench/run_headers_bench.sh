#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Side by side: our picture header reading against ImageMagick's `identify -ping`, and our folder
# listing (read, mask filter, natural sort) against `find -iname` alone. Prints the ratios.
# Goals: header reading at least 40x faster per file; listing no slower than find.
# usage: bench/run_headers_bench.sh [BUILD_DIR]   (the build must have the bench_headers target)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bench="$build/bench/bench_headers"
[ -x "$bench" ] || cmake --build "$build" -j2 --target bench_headers
work=$(mktemp -d /tmp/tessaloom-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

# 10,000 small pictures: a few distinct JPEGs (one with EXIF) and GIFs, copied under many names.
pics="$work/pics"
mkdir -p "$pics"
convert -size 640x480 plasma:fractal -quality 85 "$work/a.jpg"
convert -size 320x240 gradient:red-blue -quality 90 "$work/b.jpg"
convert -size 200x150 xc:green "$work/c.gif"
convert -size 120x90 gradient: "$work/d.gif"
python3 - "$work" "$pics" <<'PY'
import shutil, sys
work, pics = sys.argv[1], sys.argv[2]
src = [work + "/a.jpg", work + "/b.jpg", work + "/c.gif", work + "/d.gif"]
for i in range(10000):
    s = src[i % 4]
    shutil.copyfile(s, "%s/pic%05d.%s" % (pics, i, s[-3:]))
PY

best_of() { # runs a command 5 times, prints the best wall time in ms
    local best=
    for _ in 1 2 3 4 5; do
        local t0 t1
        t0=$(date +%s%N)
        "$@" >/dev/null
        t1=$(date +%s%N)
        local ms=$(((t1 - t0) / 1000000))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    echo "$best"
}

sync
"$bench" measure "$pics" >/dev/null # warm the page cache
ours=$("$bench" measure "$pics")
ours_us=$(echo "$ours" | sed -E 's/.*per_file_us ([0-9.]+).*/\1/')
identify_ms=$(best_of sh -c "cd '$pics' && ls | xargs identify -ping -format '%w %h\n'")
identify_us=$(python3 -c "print(round($identify_ms * 1000 / 10000, 3))")
floor=$("$bench" floor "$pics")
floor_us=$(echo "$floor" | sed -E 's/.*per_file_us ([0-9.]+).*/\1/')
echo "header read: ours $ours_us us/file ($ours)"
echo "header read: open+fstat+read+close alone $floor_us us/file (the floor for any reader)"
echo "header read: identify -ping $identify_us us/file (10000 files, xargs batches, best of 5: $identify_ms ms)"
python3 -c "print('header read ratio (identify / ours): %.1fx (goal >= 40x); identify / floor: %.1fx' % ($identify_us / $ours_us, $identify_us / $floor_us))"
# One process per file, as a script calling identify for each picture would:
single_ms=$(best_of identify -ping -format '%w %h' "$pics/pic00000.jpg")
echo "header read: identify -ping one process per file: $single_ms ms/file"
python3 -c "print('header read ratio (identify per process / ours): %.0fx' % ($single_ms * 1000 / $ours_us))"

# 100,000 files, a third of them pictures of each kind in mixed letter case, the rest other files.
many="$work/many"
mkdir -p "$many"
python3 - "$many" <<'PY'
import os, sys
d = sys.argv[1]
ext = ["jpg", "GIF", "txt", "JPG", "gif", "wav"]
for i in range(100000):
    open(os.path.join(d, "Holiday %d photo.%s" % (i, ext[i % 6])), "w").close()
PY
masks='*.gif;*.jpg;*.GIF;*.JPG'
"$bench" list "$many" "$masks" 1 >/dev/null
inproc=$("$bench" list "$many" "$masks" 5)
list_ms=$(best_of "$bench" list "$many" "$masks" 1)
find_ms=$(best_of find "$many" -maxdepth 1 -type f \( -iname '*.jpg' -o -iname '*.gif' \))
find_count=$(find "$many" -maxdepth 1 -type f \( -iname '*.jpg' -o -iname '*.gif' \) | wc -l)
echo "listing: ours in process $inproc"
echo "listing: ours as a process (start-up included) $list_ms ms, best of 5"
echo "listing: find -iname $find_ms ms for $find_count names, best of 5"
python3 -c "print('listing ratio (find / ours as a process): %.2f (goal >= 1)' % ($find_ms / max($list_ms, 1)))"
