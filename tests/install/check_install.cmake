# Installs the build in BUILD_DIR into an empty folder and checks that every file a
# desktop looks for is where it looks, beside the manual page and the notes Debian
# expects. Run by the test "install_layout".
cmake_minimum_required(VERSION 3.21)

set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    bin/zorventest
    share/applications/zorventest.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/man/man1/zorventest.1.gz
    share/man/ru/man1/zorventest.1.gz
    share/doc/zorventest/changelog.Debian.gz
    share/doc/zorventest/copyright
    share/lintian/overrides/zorventest)
foreach(size 16 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/zorventest.png)
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${prefix} ${prefix}/*)
list(SORT installed)
list(SORT expected)
file(REMOVE_RECURSE ${prefix})
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed:\n  ${installed}\nexpected:\n  ${expected}")
endif()
