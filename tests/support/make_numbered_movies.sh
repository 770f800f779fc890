#!/bin/sh
# Makes short movies whose every frame carries its own number: 7 blocks of 16 x 16 pixels in a row
# from (16, 16), block k white when bit k of the frame number is set, black otherwise, over a
# colour gradient. 3 s at 25 frames per second (75 frames).
# Usage: make_numbered_movies.sh FOLDER NAME:CODEC:WIDTHxHEIGHT ...
#   codec: mjpeg (AVI), mpeg4 (AVI), mpeg1 (MPG)
set -eu
out=$1
shift
bits='if(lt(Y,16)+gte(Y,32)+lt(X,16)+gte(X,128),p(X,Y),255*mod(floor(N/pow(2,floor((X-16)/16))),2))'
for spec in "$@"; do
    name=${spec%%:*}
    rest=${spec#*:}
    codec=${rest%%:*}
    size=${rest#*:}
    case $codec in
    mjpeg) args="-c:v mjpeg -q:v 2 -pix_fmt yuvj420p" ;;
    mpeg4) args="-c:v mpeg4 -q:v 2 -g 12" ;;
    mpeg1) args="-c:v mpeg1video -q:v 2 -g 12 -f mpeg" ;;
    *) echo "unknown codec $codec" >&2; exit 2 ;;
    esac
    # shellcheck disable=SC2086
    ffmpeg -hide_banner -loglevel error -y -f lavfi -i "gradients=s=$size:r=25:d=3:seed=7" \
        -vf "format=gray,geq=lum='$bits',format=yuv420p" $args "$out/$name"
done
