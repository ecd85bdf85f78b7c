# The Debian package (scripts/package.sh): everything `cmake --install` puts under /usr, with
# the libraries it needs found from the binaries themselves (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnelt)
set(CPACK_PACKAGE_VERSION ${VARNELT_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "The Varnelt developers")
set(CPACK_PACKAGE_CONTACT "The Varnelt developers <contact@${maker_host}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "put the MP3 files of an album into order")
# CPack puts the summary first and indents every line itself; an empty line becomes the
# paragraph mark " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Varnelt lists a folder's MP3 files with their audio properties and tags,\ngets the album's data from a music information web site or from the\nfiles' own tags, pairs the files with the tracks, then renames, moves and\ntags every file by a naming mask and writes a playlist and the cover.\n\nThe package holds the desktop program varnelt and the command-line\nfront end varnelt-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${maker_host}/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the binaries do not name: the player's GStreamer plugins (without them playback fails).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")
include(CPack)
