# The Debian package, made in a build folder by `cpack -G DEB`. dpkg-shlibdeps finds the
# libraries the program needs; what it only uses when present is recommended.
set(CPACK_PACKAGE_NAME zorventest)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${ZORVEN_MAKER_NAME}")
set(CPACK_PACKAGE_CONTACT "${ZORVEN_MAKER_NAME}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${ZORVEN_PRODUCT_NAME}: ${ZORVEN_COMMENT}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZORVEN_WEB_ADDRESS}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A font with Cyrillic letters, the Wayland platform plugin, and xdg-open for the about
# box's link to the maker's web page.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-wayland, xdg-utils")
include(CPack)
