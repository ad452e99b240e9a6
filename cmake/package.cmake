# The Debian package, made in a build folder by `cpack -G DEB`. dpkg-shlibdeps finds the
# libraries the program needs; what it only uses when present is recommended. lintian
# checks the package (the test "package_lint").
set(ZORVEN_MAINTAINER "${ZORVEN_MAKER_NAME} <${ZORVEN_MAKER_MAIL}>")
set(CPACK_PACKAGE_NAME zorventest)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${ZORVEN_MAKER_NAME}")
set(CPACK_PACKAGE_CONTACT "${ZORVEN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${ZORVEN_PRODUCT_NAME}: ${ZORVEN_COMMENT}")
# Lines after the summary, at most 80 characters each.
set(CPACK_PACKAGE_DESCRIPTION [[
Ввод и подсчёт бумажных бланков личностного опросника из 187 утверждений,
форма А. Оператор вводит фамилию, пол и возраст респондента, затем ответы
по одному утверждению; программа считает сырые баллы и стены шестнадцати
факторов и четыре фактора второго порядка, записывает отчёт в кодировке
cp1251, добавляет строку в таблицу результатов (CSV) и показывает профиль,
который можно напечатать или сохранить в PDF.
.
Команда zorventest --score оценивает целую таблицу бланков без окна и без
дисплея.]])
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The package's own revision of the program's version: packaging/changelog names it.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZORVEN_WEB_ADDRESS}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A font with Cyrillic letters, the Wayland platform plugin, xdg-open for the about box's
# link to the maker's web page, and Qt's own Russian texts for its dialogs. The libraries
# that read scans (OpenCV, Poppler, zxing-cpp) are found as linked; Qt's TIFF reader is a
# plugin loaded at run time, which scanners' multi-page TIFF files need.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-wayland, xdg-utils, qt6-translations-l10n")
include(CPack)

# What Debian expects beside a program: its manual page, the package's changelog and the
# copyright notice, the first two compressed as dpkg-deb would (gzip -9n: no name, no time
# stamp, so the same text gives the same bytes); and lintian's overrides, for what does not
# apply to a package made outside Debian.
if(UNIX AND NOT APPLE)
    include(GNUInstallDirs)
    set(packaging_dir ${PROJECT_BINARY_DIR}/packaging)
    configure_file(packaging/zorventest.1.in ${packaging_dir}/zorventest.1 @ONLY)
    # The program and its --help speak Russian: so does a manual page of its own.
    configure_file(packaging/zorventest.ru.1.in ${packaging_dir}/zorventest.ru.1 @ONLY)
    configure_file(packaging/changelog ${packaging_dir}/changelog.Debian COPYONLY)
    configure_file(packaging/copyright.in ${packaging_dir}/copyright @ONLY)
    foreach(file zorventest.1 zorventest.ru.1 changelog.Debian)
        execute_process(COMMAND gzip -9n --stdout ${packaging_dir}/${file}
                        OUTPUT_FILE ${packaging_dir}/${file}.gz
                        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    install(FILES ${packaging_dir}/zorventest.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${packaging_dir}/zorventest.ru.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man1
            RENAME zorventest.1.gz)
    install(FILES ${packaging_dir}/changelog.Debian.gz ${packaging_dir}/copyright
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
    install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
            RENAME zorventest)
endif()
