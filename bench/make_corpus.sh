#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes photo-like 4000x3000 JPEG pictures p1.jpg .. pN.jpg in a folder (those already there are kept):
# a plasma texture, a colour gradient, grain and a caption, 4:2:0 at quality 92, so they compress like
# a camera's photos. Two at a time. Usage: bench/make_corpus.sh FOLDER COUNT
set -euo pipefail
corpus=$1
count=$2
mkdir -p "$corpus"
make_picture() {
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
