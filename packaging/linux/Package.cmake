# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cmake --build BUILD --target package` (see the README's
# Install section) writes kestro-utils_VERSION_ARCH.deb into BUILD.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestro-utils)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Kestro Utilities team <kestro-utils@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Nintendo Virtual Boy ROM image utilities")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop suite for Nintendo Virtual Boy ROM images (.vb files): it shows and
edits a ROM's header (with Japanese titles in half-width katakana), identifies
ROMs against a table of 38 known dumps, manages a directory of ROMs as a
collection, shows a ROM's graphics as 2-bit tiles in an editable palette, and
prepares and starts outside emulators and development tools. The command-line
tool kestro does the same work for batch use and scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries from what the programs link (dpkg-shlibdeps); the katakana font
# is looked up at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
