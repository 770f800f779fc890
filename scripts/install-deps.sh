#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what Tessaloom needs to build, run and test on Debian 12 (the lists in scripts/packages/).
# Idempotent: packages already there are not touched. Run as root (or with sudo available).
set -eu
here=$(dirname "$0")
export DEBIAN_FRONTEND=noninteractive
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
lists="$here/packages/build.txt $here/packages/run.txt"
[ "${1:-}" = "--with-tests" ] && lists="$here/packages/*.txt"
missing=""
for p in $(cat $lists | sed 's/#.*//'); do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
