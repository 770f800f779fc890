#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds what the program needs, and nothing else, into build/ (or $BUILD_DIR): the two programs
# and their data files, without the tests and benchmarks. The run command uses it, and the test
# command runs it too, so a broken run command turns the tests red.
set -eu
cd "$(dirname "$0")/.."
BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} sh scripts/build.sh -DTESSALOOM_TESTS=OFF -DTESSALOOM_BENCH=OFF "$@"
