#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes short movies whose every frame carries its own number: 7 blocks of 16 x 16 pixels in a row
# from (16, 16), block k white when bit k of the frame number is set, black otherwise, over a
# colour gradient. 3 s at 25 frames per second (75 frames).
# Usage: make_numbered_movies.sh FOLDER NAME:CODEC:WIDTHxHEIGHT[:sound] ...
#   codec: mjpeg (AVI), mpeg4 (AVI), mpeg1 (MPG); sound adds a 440 Hz tone as the sound track
set -eu
out=$1
shift
bits='if(lt(Y,16)+gte(Y,32)+lt(X,16)+gte(X,128),p(X,Y),255*mod(floor(N/pow(2,floor((X-16)/16))),2))'
for spec in "$@"; do
    name=${spec%%:*}
    rest=${spec#*:}
    codec=${rest%%:*}
    size=${rest#*:}
    sound=
    case $size in
    *:sound) size=${size%:sound}; sound=yes ;;
    esac
    case $codec in
    mjpeg) args="-c:v mjpeg -q:v 2 -pix_fmt yuvj420p" ;;
    mpeg4) args="-c:v mpeg4 -q:v 2 -g 12" ;;
    mpeg1) args="-c:v mpeg1video -q:v 2 -g 12 -f mpeg" ;;
    *) echo "unknown codec $codec" >&2; exit 2 ;;
    esac
    tone=
    if [ -n "$sound" ]; then
        tone="-f lavfi -i sine=frequency=440:duration=3"
        case $codec in
        mpeg1) args="$args -c:a mp2" ;;
        *) args="$args -c:a pcm_s16le" ;;
        esac
    fi
    # shellcheck disable=SC2086
    ffmpeg -hide_banner -loglevel error -y -f lavfi -i "gradients=s=$size:r=25:d=3:seed=7" $tone \
        -vf "format=gray,geq=lum='$bits',format=yuv420p" $args "$out/$name"
done
