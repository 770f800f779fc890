#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the peers of bench/packages.txt that are missing (Debian packages).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
need=()
while read -r pkg; do
    [[ -z $pkg || $pkg == \#* ]] && continue
    dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done < "$here/packages.txt"
if ((${#need[@]})); then
    apt-get install -y --no-install-recommends "${need[@]}" >/dev/null
fi
