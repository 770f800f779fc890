#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds the program, and starts Tessaloom.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build-program.sh
export QT_MEDIA_BACKEND=${QT_MEDIA_BACKEND:-gstreamer}
exec build/app/tessaloom "$@"
