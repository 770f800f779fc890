#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes docs/screenshots/: a picture of every window of the program, shown under a virtual X server
# over a small folder the tool draws itself (tools/ShootWindows.cpp lists the windows).
# SCALE=2 shoots them at Qt's scale factor 2, as on a HiDPI screen, into docs/screenshots/scale-2/.
set -eu
cd "$(dirname "$0")/.."
dir=${BUILD_DIR:-build}
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j"$(nproc)" --target shoot_windows >/dev/null
scratch=$(mktemp -d /tmp/tessaloom-shots.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"
scale=${SCALE:-1}
out=docs/screenshots
[ "$scale" = 1 ] || out=docs/screenshots/scale-$scale
mkdir -p "$out"
# Settings stay out of ~/.config; the windows stay silent.
XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/runtime QT_QPA_PLATFORM=xcb \
    QT_MEDIA_BACKEND=gstreamer QT_SCALE_FACTOR=$scale \
    xvfb-run -a -s "-screen 0 $((1280 * scale))x$((1024 * scale))x24" "$dir/tools/shoot_windows" "$out"
