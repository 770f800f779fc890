#!/bin/bash
# Side-by-side thumbnail benchmark: our maker against vipsthumbnail, ImageMagick and GraphicsMagick on a
# generated corpus of 12-megapixel photo-like JPEGs, at 50 % and 10 %, on one core and on two.
# Each tool runs once over the whole corpus in one process. Quality: PSNR against a Lanczos reference made
# from the full decode. Usage: bench/run_thumbnails_bench.sh [pictures]   (default 24)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(dirname "$here")
work=${THUMBS_BENCH_DIR:-$src/build-bench/thumbs-bench}
count=${1:-24}

need=()
while read -r pkg; do
    [[ -z $pkg || $pkg == \#* ]] && continue
    dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done < "$here/packages.txt"
if ((${#need[@]})); then
    apt-get install -y --no-install-recommends "${need[@]}" >/dev/null
fi

cmake -S "$src" -B "$src/build-bench" -DCMAKE_BUILD_TYPE=Release -DTESSALOOM_TESTS=OFF >/dev/null
cmake --build "$src/build-bench" -j2 --target bench_thumbnails >/dev/null
bench=$src/build-bench/bench/bench_thumbnails

corpus=$work/corpus
mkdir -p "$corpus"
make_picture() { # plasma texture, a colour gradient, grain and a caption: compresses like a photo
    local i=$1
    convert -size 1000x750 -seed "$i" plasma:fractal -resize 4000x3000! \
        \( -size 4000x3000 gradient:"#$(printf '%02x%02x%02x' $((i * 37 % 200)) $((i * 91 % 200)) 60)"-'#e0c090' \) \
        -compose overlay -composite -attenuate 0.6 +noise Gaussian -fill white -font DejaVu-Sans \
        -pointsize 180 -annotate +300+600 "Holiday $i" -sampling-factor 2x2 -quality 92 "$corpus/p$i.jpg"
}
for ((i = 1; i <= count; i++)); do
    [[ -s $corpus/p$i.jpg ]] || { make_picture "$i" & }
    (( i % 2 == 0 )) && wait
done
wait

declare -A size=([50]=2000x1500 [10]=400x300)
declare -A index=([50]=0 [10]=4)
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

run() { # cores label out-dir command... -> "seconds peakKB"
    local cores=$1 out=$2
    shift 2
    rm -rf "$out"
    mkdir -p "$out"
    /usr/bin/time -f "%e %M" -o "$work/time.txt" taskset -c "$cores" "$@" >/dev/null 2>"$work/err.txt" ||
        { cat "$work/err.txt" >&2; return 1; }
    cat "$work/time.txt"
}

n=$(ls "$corpus"/*.jpg | wc -l)
printf "%d pictures of 4000x3000\n\n" "$n"
printf "%-6s %-6s %-14s %10s %10s %9s %10s\n" scale cores tool "ms/pic" "vs vips" "PSNR dB" "peak MB"
declare -A msOf
for pct in 50 10; do
    s=${size[$pct]}
    w=${s%x*}
    h=${s#*x}
    hint="$((w * 2))x$((h * 2))"
    for cores in 0 0,1; do
        ncores=$(( ${#cores} / 2 + 1 ))
        declare -A res=()
        # ours: works in a folder that links the pictures, writes sm_ thumbnails beside them
        out=$work/out-ours
        rm -rf "$out"; mkdir -p "$out"
        for f in "$corpus"/*.jpg; do ln -s "$f" "$out/"; done
        /usr/bin/time -f "%e %M" -o "$work/time.txt" taskset -c "$cores" "$bench" make "$out" "${index[$pct]}" >/dev/null
        res[ours]="$(cat "$work/time.txt") $("$bench" psnr "$work/ref$pct" "$out" "sm_%s.jpg" | awk '{print $2}')"
        out=$work/out-vips
        t=$(run "$cores" "$out" vipsthumbnail "$corpus"/*.jpg --size "$s!" -o "$out/%s.jpg[Q=90]")
        res[vips]="$t $("$bench" psnr "$work/ref$pct" "$out" "%s.jpg" | awk '{print $2}')"
        out=$work/out-im
        t=$(run "$cores" "$out" mogrify -path "$out" -define jpeg:size="$hint" -thumbnail "$s!" -quality 90 "$corpus"/*.jpg)
        res[imagemagick]="$t $("$bench" psnr "$work/ref$pct" "$out" "%s.jpg" | awk '{print $2}')"
        out=$work/out-gm
        t=$(run "$cores" "$out" bash -c 'cd "$1" && exec gm mogrify -output-directory "$2" -size "$3" -thumbnail "$4!" -quality 90 *.jpg' \
            gm "$corpus" "$out" "$hint" "$s")
        res[graphicsmagick]="$t $("$bench" psnr "$work/ref$pct" "$out" "%s.jpg" | awk '{print $2}')"
        read -r vsec _ _ <<<"${res[vips]}"
        for tool in ours vips imagemagick graphicsmagick; do
            read -r sec kb db <<<"${res[$tool]}"
            ms=$(awk -v s="$sec" -v n="$n" 'BEGIN{printf "%.1f", s*1000/n}')
            ratio=$(awk -v s="$sec" -v v="$vsec" 'BEGIN{printf "%.2fx", s/v}')
            printf "%-6s %-6s %-14s %10s %10s %9s %10d\n" "$pct%" "$ncores" "$tool" "$ms" "$ratio" "$db" $((kb / 1024))
            msOf[$pct-$ncores-$tool]=$ms
        done
        unset res
    done
done
echo
for pct in 50 10; do
    awk -v a="${msOf[$pct-1-ours]}" -v b="${msOf[$pct-2-ours]}" -v p="$pct" \
        'BEGIN{printf "ours at %s%%: two cores give %.2fx the one-core throughput\n", p, a/b}'
done
