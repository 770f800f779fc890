# SPDX-License-Identifier: GPL-2.0-or-later
# `cpack -G DEB` in the build folder makes the Debian package: the install tree under /usr, its
# library dependencies computed by dpkg-shlibdeps, plus what the program loads at run time.
set(CPACK_PACKAGE_NAME tessaloom)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_CONTACT "Quorvane <tessaloom@quorvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "make a web page of the pictures, sounds or movies in a folder")
set(CPACK_PACKAGE_DESCRIPTION
    "Point Tessaloom at a folder of pictures, sounds or movies, shape the page in\n"
    "the Options window and press Create: it writes an HTML page into that folder,\n"
    "a centred table of cells that link to the media, with JPEG thumbnails made\n"
    "beside the pictures. tessaloom-page makes the same pages from the command line.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TESSALOOM_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no library dependency names them (scripts/packages/run.txt lists the same,
# the package check compares them): the windowing plugins, playback of every
# media kind (MIDI through the soundfont), the look-alike fonts the windows name, the opener.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, \
gstreamer1.0-libav, timgm6mb-soundfont | sf2-soundfont-gm, fonts-liberation2, fonts-comic-neue, fonts-dejavu-core, \
xdg-utils, fonts-urw-base35")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-ugly, gstreamer1.0-pulseaudio | pulseaudio")
set(CPACK_GENERATOR DEB)
include(CPack)
