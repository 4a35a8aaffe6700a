# SPDX-License-Identifier: GPL-3.0-or-later
# `cpack -G DEB` (make package): one Debian package of everything `cmake --install` installs,
# under /usr, with the library dependencies dpkg-shlibdeps finds.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${STRUKTUR_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${STRUKTUR_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "author information structures for a help program")
# Debian's extended description: lines shorter than 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
  "Strukturkonstruktøren is a desktop program with a Danish user
interface in which one person writes information structures: named
trees of elements, each with a caption, one of nine icons and a
rich-text document, which a separate host program shows its users as
browsable help. Structures are kept in plain text files and RTF
documents; a structure can be searched and published as an HTML help
site or a PDF book. The command-line tool struktur shows, checks,
searches, converts, publishes and prints them without the window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${STRUKTUR_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The PDF page text writes into Qt's PDF engine through Qt's private parts, which hold for one
# Qt version only (Debian's Qt provides that version as qt6-base-abi).
# Print jobs go to CUPS through its library, loaded when a job is handed over.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-base-abi (= ${Qt6_VERSION_MAJOR}.${Qt6_VERSION_MINOR}.${Qt6_VERSION_PATCH}), libcups2")
# Danish standard buttons, the stand-ins for the fonts documents name, the Danish dictionary.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation, hunspell-da")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/postinst ${PROJECT_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
