# The Debian package (cpack -G DEB) and the documents it carries:
# share/doc/quillmark/copyright, made from LICENSE, and the changelog.

set(QUILLMARK_MAINTAINER "The Quillmark contributors <quillmark@example.org>")
set(QUILLMARK_HOMEPAGE "https://quillmark.example.org/")

# Debian's machine-readable copyright: the licence text of LICENSE from
# "Permission" on, each line indented by one blank, empty lines as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(FIND "${licence}" "Permission is hereby granted" licence_start)
string(SUBSTRING "${licence}" ${licence_start} -1 licence_text)
string(STRIP "${licence_text}" licence_text)
string(REGEX REPLACE "\n\n" "\n.\n" licence_text "${licence_text}")
string(REGEX REPLACE "\n" "\n " licence_text "${licence_text}")
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" licence_holder "${licence}")
set(licence_holder "${CMAKE_MATCH_1}")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/doc/copyright CONTENT
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Quillmark
Upstream-Contact: ${QUILLMARK_MAINTAINER}
Source: ${QUILLMARK_HOMEPAGE}

Files: *
Copyright: ${licence_holder}
License: MIT

License: MIT
 ${licence_text}
")

# A native package's changelog: one entry for this version.
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
    COMMAND sh -c "printf '%s\\n' \"quillmark (${PROJECT_VERSION}) unstable; urgency=medium\" '' \
        '  * Release ${PROJECT_VERSION}.' '' \
        \" -- ${QUILLMARK_MAINTAINER}  $(LC_ALL=C date -u -R -d ${QUILLMARK_RELEASE_DATE})\" | gzip -9n > doc/changelog.gz"
    DEPENDS ${PROJECT_SOURCE_DIR}/CMakeLists.txt
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    VERBATIM)
add_custom_target(quillmark_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz)

install(FILES ${PROJECT_BINARY_DIR}/doc/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillmark)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "The Quillmark contributors")
set(CPACK_PACKAGE_CONTACT "${QUILLMARK_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the look of the PSP home menu (vshmain.prx, paf.prx)")
set(CPACK_PACKAGE_DESCRIPTION
"Quillmark edits the look of the PSP's XMB home menu by changing values in two
firmware modules, vshmain.prx (the home menu) and paf.prx (its layout
library): month and item colours, positions of the clock and icons,
transparency, icon and path names, the main-menu layout, and the sizes and
speeds of paf.prx. It works on plain modules of 14 VSH and 12 PAF firmware
releases (1.5x to 3.8x), unpacks packed modules and packs saved ones again
with 7-Zip.

The package holds the editor (quillmark) and the command-line tool
quillmark-cli, which reads, compares, changes, checks and (un)packs the same
modules in scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/StripComments.cmake)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLMARK_HOMEPAGE}")
# Libraries from the binaries (dpkg-shlibdeps), and the archiver.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "p7zip-full | 7zip")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR})
include(CPack)
