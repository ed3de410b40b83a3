# Debian package: cpack -G DEB in the build folder makes marlovin_<version>_<arch>.deb from the
# same install rules and the same compiled program as the build itself.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marlovin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${MARLOVIN_COMPANY_NAME})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_CUSTOM_INSTALL_VARIABLES MARLOVIN_DEBIAN_PACKAGE=ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Dunfeld <kontakt@marlovin.example.org>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the linker does not show: Qt's own German texts. Qt's X11 platform plugin comes with
# libqt6gui6, which the linker does show; the Wayland plugin is optional (X11 through XWayland).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "four in a row on a 7 x 7 board")
file(READ ${CMAKE_CURRENT_LIST_DIR}/description description)
string(STRIP "${description}" CPACK_DEBIAN_PACKAGE_DESCRIPTION)

# A package holds what a player installs: refuse debug or sanitizer builds.
if(NOT CMAKE_BUILD_TYPE STREQUAL "Release" OR MARLOVIN_SANITIZE)
    set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/refuse-package.cmake)
endif()
include(CPack)
