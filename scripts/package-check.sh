#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the Debian package and checks it: the install tree's layout, the desktop entry and the
# metainfo through their validators, the package through lintian; then unpacks it into a temporary
# root and runs both programs from there, the page maker over a small folder and the window program
# offscreen. Builds the program in build/ (or $BUILD_DIR) as scripts/run.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${BUILD_DIR:-build}
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j"$(nproc)" --target tessaloom tessaloom-page artwork desktop_files >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")
app_id=org.quorvane.tessaloom

tmp=$(mktemp -d /tmp/tessaloom-package.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "package check: $*" >&2
    exit 1
}

# The install tree, into a prefix of its own.
prefix=$tmp/prefix
cmake --install "$dir" --prefix "$prefix" --strip >/dev/null
expected="bin/tessaloom bin/tessaloom-page share/applications/$app_id.desktop
share/metainfo/$app_id.metainfo.xml share/man/man1/tessaloom.1.gz share/man/man1/tessaloom-page.1.gz
share/icons/hicolor/scalable/apps/$app_id.svg share/doc/tessaloom/copyright"
for size in 16 32 48 64 128 256; do
    expected="$expected share/icons/hicolor/${size}x$size/apps/$app_id.png"
done
for f in $expected; do
    [ -s "$prefix/$f" ] || fail "the install tree lacks $f"
done
# Every data file the build made is installed (the icon goes to the theme instead).
(cd "$dir/share/tessaloom" && find . -type f ! -path './icons/*') | while read -r f; do
    cmp -s "$dir/share/tessaloom/$f" "$prefix/share/tessaloom/$f" || fail "share/tessaloom/$f not installed"
done
[ ! -e "$prefix/share/tessaloom/icons" ] || fail "the icon is installed twice"
echo "== install tree"
(cd "$prefix" && find . -type f | sort)

echo "== desktop-file-validate"
# It reports warnings and hints without failing: any output at all fails here.
report=$(desktop-file-validate "$prefix/share/applications/$app_id.desktop" 2>&1) || true
[ -z "$report" ] || fail "desktop-file-validate: $report"
echo "no errors, warnings or hints"
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net --strict --pedantic --explain "$prefix/share/metainfo/$app_id.metainfo.xml"

# Packed from that install tree: a plain `cpack -G DEB` in the build folder would first build every
# target of the project, tests included.
echo "== cpack -G DEB"
rm -f "$dir"/tessaloom_*.deb
cpack -G DEB --config "$dir/CPackConfig.cmake" -B "$tmp/cpack" -D CPACK_INSTALL_CMAKE_PROJECTS= \
    -D "CPACK_INSTALLED_DIRECTORIES=$prefix;usr" >/dev/null
cp "$tmp"/cpack/tessaloom_*.deb "$dir"/
deb=$(ls "$dir"/tessaloom_*.deb)
echo "$deb: $(stat -c %s "$deb") bytes"
dpkg-deb -I "$deb"
echo "== run.txt against the package's relations"
# What scripts/packages/run.txt installs to run the program is what the package brings along:
# every package of that list is one of the choices of a Depends or Recommends entry, and every entry
# that is not a shared library (those dpkg-shlibdeps finds by itself) has a choice in that list.
relations=$(dpkg-deb -f "$deb" Depends Recommends | sed 's/^[A-Za-z]*: //' | tr ',' '\n' |
    sed 's/([^)]*)//g; s/ //g' | grep .)
choices=$(tr '|' '\n' <<<"$relations")
run_list=$(sed 's/#.*//' scripts/packages/run.txt | tr -s ' \t' '\n' | grep . | sort -u)
for p in $run_list; do
    grep -qxF "$p" <<<"$choices" || fail "run.txt installs $p, but the package neither depends on it nor recommends it"
done
for entry in $(grep -v '^lib' <<<"$relations"); do
    grep -qxF -f <(echo "$run_list") <<<"$(tr '|' '\n' <<<"$entry")" ||
        fail "the package needs $entry, which run.txt does not install"
done
echo "every package of run.txt is a relation of the package, and the other way round"
echo "== lintian"
lintian --fail-on error --tag-display-limit 0 "$deb"

# The unpacked package runs on its own: no build tree, no data folder from the environment.
root=$tmp/root
dpkg-deb -x "$deb" "$root"
unset TESSALOOM_DATA_DIR
bin=$root/usr/bin
[ "$("$bin/tessaloom" --version)" = "tessaloom $version" ] || fail "tessaloom --version"
[ "$("$bin/tessaloom-page" --version)" = "tessaloom-page $version" ] || fail "tessaloom-page --version"

folder=$tmp/holiday\ pictures
mkdir -p "$folder"
convert -size 320x200 gradient:navy-gold "$folder/beach.jpg"
convert -size 200x320 plasma:fractal -seed 7 "$folder/dunes.jpg"
convert -size 64x64 xc:tomato "$folder/tile.gif"
echo "== tessaloom-page from the package"
"$bin/tessaloom-page" "$folder" gifjpg --columns 2 --labels name,size
grep -q 'beach.jpg' "$folder/MediaPage.htm" || fail "the page does not link beach.jpg"
for f in sm_beach.jpg sm_dunes.jpg; do
    [ "$(head -c 3 "$folder/$f" | od -An -tx1 | tr -d ' ')" = ffd8ff ] || fail "$f is not a JPEG thumbnail"
done

echo "== the package takes no file kind over"
# Installing must not make Tessaloom the opener of folders: a file manager's desktop entry claims
# inode/directory, the package's entry joins it in the same folder as dpkg would put it, the menu
# cache is rebuilt as the package trigger does, and the default stays the file manager's. The file
# manager's name sorts after ours, so a claim of ours would come first in the cache.
mime=$tmp/mime
mkdir -p "$mime/share/applications" "$mime/config" "$mime/home"
printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=Folders' 'Exec=true %U' \
    'MimeType=inode/directory;' >"$mime/share/applications/thunar.desktop"
query_folder_opener() {
    update-desktop-database "$mime/share/applications"
    env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
        XDG_DATA_HOME="$mime/home" XDG_CONFIG_HOME="$mime/config" XDG_CONFIG_DIRS="$mime/config" \
        XDG_DATA_DIRS="$mime/share" xdg-mime query default inode/directory
}
before=$(query_folder_opener)
[ "$before" = thunar.desktop ] || fail "the folder opener before install is '$before', not the file manager"
cp "$root/usr/share/applications/$app_id.desktop" "$mime/share/applications/"
after=$(query_folder_opener)
[ "$after" = "$before" ] || fail "installing made '$after' the folder opener instead of '$before'"
echo "xdg-mime query default inode/directory: $after before and after"

echo "== tessaloom from the package, offscreen"
export XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
out=$(QT_QPA_PLATFORM=offscreen QT_MEDIA_BACKEND=gstreamer TESSALOOM_QUIT_AFTER_START=1 \
    TESSALOOM_REPORT_ACTIVATION=1 TESSALOOM_INSTANCE_KEY="package-check-$$" TESSALOOM_EXIT_AFTER_MS=60000 \
    timeout 90 "$bin/tessaloom" "$folder" 2>"$tmp/stderr") || {
    cat "$tmp/stderr" >&2
    fail "tessaloom did not start and quit cleanly"
}
grep -qxF "folder $folder" <<<"$out" || fail "tessaloom did not start in the folder given: $out"
echo "package check passed"
