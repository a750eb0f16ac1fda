# The Debian package: cmake --build build --target package writes
# qzk-editor_<version>_<arch>.deb into the build folder from the same install rules as
# cmake --install, plus the two files every Debian package carries in its doc folder.

# The package's maintainer is the copyright file's upstream contact unless a packager names
# another, and its homepage the AppStream data's, so that each is written down once.
set(QZK_PACKAGE_MAINTAINER ""
    CACHE STRING "The package's Maintainer field, name <address>; empty: the upstream contact")
set(QZK_COPYRIGHT ${PROJECT_SOURCE_DIR}/packaging/copyright)
set(QZK_METAINFO ${PROJECT_SOURCE_DIR}/data/${QZK_APP_ID}.metainfo.xml)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QZK_COPYRIGHT} ${QZK_METAINFO})
set(QZK_MAINTAINER "${QZK_PACKAGE_MAINTAINER}")
if(NOT QZK_MAINTAINER)
    file(STRINGS ${QZK_COPYRIGHT} QZK_MAINTAINER REGEX "^Upstream-Contact: " LIMIT_COUNT 1)
    string(REPLACE "Upstream-Contact: " "" QZK_MAINTAINER "${QZK_MAINTAINER}")
endif()
file(STRINGS ${QZK_METAINFO} QZK_HOMEPAGE REGEX "<url type=\"homepage\">" LIMIT_COUNT 1)
string(REGEX REPLACE ".*<url type=\"homepage\">([^<]+)</url>.*" "\\1" QZK_HOMEPAGE "${QZK_HOMEPAGE}")

set(QZK_DOC_DIR share/doc/qzk-editor)
install(FILES packaging/copyright DESTINATION ${QZK_DOC_DIR})
# Debian wants the changelog compressed to the maximum and without a time stamp, so that
# two builds of the same sources give the same bytes.
configure_file(packaging/changelog ${CMAKE_BINARY_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
                   COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/changelog
                   DEPENDS ${CMAKE_BINARY_DIR}/changelog)
add_custom_target(qzk_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${QZK_DOC_DIR})
# A map to open or check right after installing.
install(FILES docs/sample/meadow.map docs/sample/meadow_2.map DESTINATION ${QZK_DOC_DIR}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qzk-editor)
set(CPACK_PACKAGE_VENDOR "The Q:zK map editor developers")
set(CPACK_PACKAGE_CONTACT "${QZK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "map editor for the board game Q:zK / Q:zKマップエディタ")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_LIST_DIR}/../packaging/description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QZK_MAINTAINER}")
# Not "games": Debian keeps that for games themselves, installed under /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QZK_HOMEPAGE}")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The libraries come from the binaries; only what they load at run time is named here:
# Qt's X11 platform plugin, without which no window opens.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# A Japanese font for the interface, Qt's Japanese texts, the browser for the help, and the
# databases that give map files their type and the editor as the program to open them.
string(JOIN ", " CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk"
            qt6-translations-l10n xdg-utils shared-mime-info desktop-file-utils)
include(CPack)
