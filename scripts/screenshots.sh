#!/bin/sh
# Makes docs/screenshots/: a picture of every window of the program, shown under a virtual X server
# over a small folder the tool draws itself (tools/ShootWindows.cpp lists the windows).
set -eu
cd "$(dirname "$0")/.."
dir=${BUILD_DIR:-build}
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j"$(nproc)" --target shoot_windows >/dev/null
scratch=$(mktemp -d /tmp/tessaloom-shots.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"
# Settings stay out of ~/.config; the windows stay silent.
XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/runtime QT_QPA_PLATFORM=xcb \
    QT_MEDIA_BACKEND=gstreamer \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$dir/tools/shoot_windows" docs/screenshots
