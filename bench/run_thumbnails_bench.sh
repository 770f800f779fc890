#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Side-by-side thumbnail benchmark: our maker against vipsthumbnail, ImageMagick and GraphicsMagick on a
# generated corpus of 12-megapixel photo-like JPEGs, at 50 % and 10 %, on one core and on two; and against
# the floor, libjpeg-turbo's bare decode at the DCT scale our maker uses (djpeg -scale, output discarded).
# Each tool runs once over the whole corpus in one process. Quality: PSNR against a Lanczos reference made
# from the full decode. Usage: bench/run_thumbnails_bench.sh [pictures]   (default 24)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(dirname "$here")
work=${THUMBS_BENCH_DIR:-$src/build-bench/thumbs-bench}
count=${1:-24}

[[ ${THUMBS_BENCH_PEERS:-1} == 0 ]] || "$here/install_peers.sh"

cmake -S "$src" -B "$src/build-bench" -DCMAKE_BUILD_TYPE=Release -DTESSALOOM_TESTS=OFF >/dev/null
cmake --build "$src/build-bench" -j2 --target bench_thumbnails >/dev/null
bench=$src/build-bench/bench/bench_thumbnails

corpus=$work/corpus
"$here/make_corpus.sh" "$corpus" "$count"

declare -A size=([50]=2000x1500 [10]=400x300)
declare -A index=([50]=0 [10]=4)
declare -A dct=([50]=1/2 [10]=1/4) # what our maker decodes 4000x3000 at for these sizes
reps=${THUMBS_BENCH_REPS:-3}
# THUMBS_BENCH_PEERS=0: only the floor ratios of the plain and the profiled corpus at the end.
if [[ ${THUMBS_BENCH_PEERS:-1} != 0 ]]; then
for pct in 50 10; do
    ref=$work/ref$pct
    if [[ ! -d $ref ]]; then
        mkdir -p "$ref.tmp"
        for f in "$corpus"/*.jpg; do
            b=$(basename "$f" .jpg)
            convert "$f" -filter Lanczos -resize "${size[$pct]}!" "$ref.tmp/$b.png"
        done
        mv "$ref.tmp" "$ref"
    fi
done

n=$(ls "$corpus"/*.jpg | wc -l)

# One run of a tool over the whole corpus: prints "seconds peakKB".
run_tool() { # tool pct cores out
    local tool=$1 pct=$2 cores=$3 out=$4 s=${size[$2]}
    local w=${s%x*} h=${s#*x}
    local hint="$((w * 2))x$((h * 2))"
    rm -rf "$out"
    mkdir -p "$out"
    local cmd
    case $tool in
    ours)
        for f in "$corpus"/*.jpg; do ln -s "$f" "$out/"; done
        cmd=("$bench" make "$out" "${index[$pct]}") ;;
    djpeg) # one process per picture (a few ms of start-up each), as many at once as there are cores
        cmd=(bash -c 'ls "$1"/*.jpg | xargs -P "$2" -n 1 djpeg -scale "$3" -outfile /dev/null'
             djpeg "$corpus" "$(( ${#cores} / 2 + 1 ))" "${dct[$pct]}") ;;
    vips) cmd=(vipsthumbnail "$corpus"/*.jpg --size "$s!" -o "$out/%s.jpg[Q=90]") ;;
    vips-420) cmd=(vipsthumbnail "$corpus"/*.jpg --size "$s!" -o "$out/%s.jpg[Q=90,subsample-mode=on]") ;;
    imagemagick) cmd=(mogrify -path "$out" -define jpeg:size="$hint" -thumbnail "$s!" -quality 90 "$corpus"/*.jpg) ;;
    graphicsmagick)
        cmd=(bash -c 'cd "$1" && exec gm mogrify -output-directory "$2" -size "$3" -thumbnail "$4!" -quality 90 *.jpg'
             gm "$corpus" "$out" "$hint" "$s") ;;
    esac
    /usr/bin/time -f "%e %M" -o "$work/time.txt" taskset -c "$cores" "${cmd[@]}" >/dev/null 2>"$work/err.txt" ||
        { cat "$work/err.txt" >&2; return 1; }
    cat "$work/time.txt"
}

tools=(ours djpeg vips vips-420 imagemagick graphicsmagick)
printf "%d pictures of 4000x3000, best of %d runs per tool, tools interleaved\n\n" "$n" "$reps"
printf "%-6s %-6s %-15s %10s %9s %9s %9s %9s\n" scale cores tool "ms/pic" "vs vips" "vs floor" "PSNR dB" "peak MB"
declare -A best peak msOf dbOf
for pct in 50 10; do
    for cores in 0 0,1; do
        ncores=$(( ${#cores} / 2 + 1 ))
        for tool in "${tools[@]}"; do best[$tool]=999999; peak[$tool]=0; done
        for ((r = 0; r < reps; r++)); do
            for tool in "${tools[@]}"; do
                read -r sec kb < <(run_tool "$tool" "$pct" "$cores" "$work/out-$tool")
                best[$tool]=$(awk -v a="${best[$tool]}" -v b="$sec" 'BEGIN{print (b < a ? b : a)}')
                (( kb > peak[$tool] )) && peak[$tool]=$kb
            done
        done
        for tool in "${tools[@]}"; do
            pattern="%s.jpg"
            [[ $tool == ours ]] && pattern="sm_%s.jpg"
            db=-
            [[ $tool == djpeg ]] || db=$("$bench" psnr "$work/ref$pct" "$work/out-$tool" "$pattern" | awk '{print $2}')
            ms=$(awk -v s="${best[$tool]}" -v n="$n" 'BEGIN{printf "%.1f", s*1000/n}')
            ratio=$(awk -v s="${best[$tool]}" -v v="${best[vips]}" 'BEGIN{printf "%.2fx", s/v}')
            floor=$(awk -v s="${best[$tool]}" -v v="${best[djpeg]}" 'BEGIN{printf "%.2fx", s/v}')
            printf "%-6s %-6s %-15s %10s %9s %9s %9s %9d\n" "$pct%" "$ncores" "$tool" "$ms" "$ratio" "$floor" "$db" \
                $((peak[$tool] / 1024))
            msOf[$pct-$ncores-$tool]=$ms
            dbOf[$pct-$ncores-$tool]=$db
        done
    done
done
echo
echo "vips-420: vipsthumbnail with the chroma subsampling our encoder uses (libjpeg's default 4:2:0);"
echo "plain vips switches subsampling off at quality 90."
echo
echo "Goals (one core unless said):"
awk -v a="${msOf[10-1-ours]}" -v b="${msOf[10-1-vips]}" \
    'BEGIN{printf "  10%%: ours / vipsthumbnail            %.2fx (goal at most 0.80x)\n", a/b}'
for pct in 50 10; do
    awk -v a="${msOf[$pct-1-ours]}" -v b="${msOf[$pct-1-djpeg]}" -v p="$pct" -v d="${dct[$pct]}" \
        'BEGIN{printf "  %s%%: ours / djpeg -scale %s (floor)   %.2fx (goal at most 1.15x)\n", p, d, a/b}'
    awk -v a="${dbOf[$pct-1-ours]}" -v b="${dbOf[$pct-1-vips-420]}" -v p="$pct" \
        'BEGIN{printf "  %s%%: PSNR ours - vips 4:2:0           %+.2f dB (goal above -0.30 dB)\n", p, a-b}'
    awk -v a="${msOf[$pct-1-ours]}" -v b="${msOf[$pct-2-ours]}" -v p="$pct" \
        'BEGIN{printf "  %s%%: ours, two cores / one core       %.2fx throughput (goal at least 1.85x)\n", p, a/b}'
done
echo
echo "Scaling alone (lossless PNG before any JPEG encoding), PSNR against the Lanczos reference:"
for pct in 50 10; do
    rm -rf "$work/px-ours" "$work/px-vips"
    mkdir -p "$work/px-ours" "$work/px-vips"
    "$bench" pixels "$corpus" "${index[$pct]}" "$work/px-ours"
    vipsthumbnail "$corpus"/*.jpg --size "${size[$pct]}!" -o "$work/px-vips/%s.png" >/dev/null
    printf "  %s%%: ours %s dB, vips %s dB\n" "$pct" \
        "$("$bench" psnr "$work/ref$pct" "$work/px-ours" "%s.png" | awk '{print $2}')" \
        "$("$bench" psnr "$work/ref$pct" "$work/px-vips" "%s.png" | awk '{print $2}')"
done

fi # THUMBS_BENCH_PEERS

# Pictures with colour profiles: the corpus with a Display P3, Adobe RGB or ProPhoto profile embedded
# (the scans unchanged), and as CMYK with a LUT-based CMYK profile, in turn. Our maker turns them into
# sRGB at the thumbnail's size; the floor is again the bare decode at the same DCT scale.
profiled=$work/profiled
if [[ ! -d $profiled ]]; then
    mkdir -p "$profiled.tmp"
    kinds=(p3 adobe prophoto cmyk)
    i=0
    for f in "$corpus"/*.jpg; do
        b=$(basename "$f" .jpg)
        kind=${kinds[$((i++ % 4))]}
        if [[ $kind == cmyk ]]; then
            convert "$f" -colorspace CMYK -sampling-factor 2x2 -quality 92 "$profiled.tmp/plain-$b.jpg"
            "$bench" embed "$profiled.tmp/plain-$b.jpg" cmyk "$profiled.tmp/$b-$kind.jpg"
            rm "$profiled.tmp/plain-$b.jpg"
        else
            "$bench" embed "$f" "$kind" "$profiled.tmp/$b-$kind.jpg"
        fi
    done
    mv "$profiled.tmp" "$profiled"
fi
echo
echo "Floor ratios on one core in processor time (user + system; steadier than wall time on a busy machine),"
echo "best of $reps runs, plain corpus and profiled corpus ($(ls "$profiled" | wc -l) pictures):"
for pct in 50 10; do
    for set in plain profiled; do
        dir=$corpus
        [[ $set == profiled ]] && dir=$profiled
        bestOurs=999999 bestFloor=999999
        for ((r = 0; r < reps; r++)); do
            out=$work/out-$set
            rm -rf "$out"
            mkdir -p "$out"
            for f in "$dir"/*.jpg; do ln -s "$f" "$out/"; done
            /usr/bin/time -f "%U %S" -o "$work/time.txt" taskset -c 0 "$bench" make "$out" "${index[$pct]}" >/dev/null
            bestOurs=$(awk -v a="$bestOurs" '{b = $1 + $2} END{print (b < a ? b : a)}' "$work/time.txt")
            /usr/bin/time -f "%U %S" -o "$work/time.txt" taskset -c 0 \
                bash -c 'for f in "$1"/*.jpg; do djpeg -scale "$2" -outfile /dev/null "$f"; done' djpeg "$dir" "${dct[$pct]}"
            bestFloor=$(awk -v a="$bestFloor" '{b = $1 + $2} END{print (b < a ? b : a)}' "$work/time.txt")
        done
        awk -v a="$bestOurs" -v b="$bestFloor" -v p="$pct" -v s="$set" -v d="${dct[$pct]}" \
            'BEGIN{printf "  %s%% %-8s ours %.2f s, djpeg -scale %s %.2f s: %.2fx (goal at most 1.10x)\n", p, s, a, d, b, a/b}'
    done
done
