#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Configures and builds into build/ (or $BUILD_DIR). Extra arguments go to CMake's configure step.
set -eu
cd "$(dirname "$0")/.."
dir=${BUILD_DIR:-build}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
