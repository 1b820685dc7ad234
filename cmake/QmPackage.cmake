# The Debian package of both programs: `cpack -G DEB` in the build folder
# writes quillmark_<version>_<arch>.deb. It holds what `cmake --install`
# installs, under /usr.
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "Velgrave")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Help authoring environment for Windows help files, with the Pikeral hotspot editor")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmark keeps a help project (topics, popups, help windows, keywords,\n"
    "browse sequences, build tags, macros) in one project file, edits each topic\n"
    "in a rich-text editor with inline tags, and builds the project into a\n"
    "Windows help file (.hlp) with the help compiler, run through wine on Linux.\n"
    "Pikeral edits the hotspots of segmented hypergraphics (.shg).")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
# Installed under DESTDIR, so the install step leaves the desktop's databases
# to the package manager's triggers: the package holds none of their files.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillmark developers <quillmark@velgrave.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# The Qt 6 and C++ libraries the programs link, found by dpkg-shlibdeps;
# the plugins Qt loads (the screen's in libqt6gui6, the SVG icons' in
# libqt6svg6) come with them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help compiler is a Windows program: on Linux it runs through wine.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine")
set(CPACK_GENERATOR DEB)
include(CPack)
