# Installation: the program, the batch runner, a desktop entry, the icon in
# the hicolor sizes and the AppStream metainfo, where a desktop finds them;
# their manual pages, the copyright file, the changelog and the README
# (cmake/PackageDocs.cmake); and a Debian package built by `cpack -G DEB`
# (packaging/build-deb.sh builds it with Debian's hardening flags).
include(GNUInstallDirs)

# The package's maintainer, named here and nowhere else: the package's
# Maintainer field, the changelog's entries and the copyright file's
# Upstream-Contact all take it from here. The project has no mail host yet, so
# the address is on localhost, and lintian's bogus-mail-host is the complaint
# the packaging check accepts for it (README, "Installation").
set(YAWMARK_MAINTAINER "The Yawmark developers <yawmark@localhost>" CACHE STRING
    "Maintainer of the package, as \"Name <address>\"")

set(yawmark_programs)
foreach(target yawmark yawmark-batch)
    if(TARGET ${target})
        install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
        list(APPEND yawmark_programs ${target})
    endif()
endforeach()
# A stripped install (`cmake --install --strip`, and the package, which sets
# CPACK_STRIP_FILES) also drops the compiler's .comment and .note sections, as
# Debian's dh_strip does.
if(CMAKE_OBJCOPY)
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            foreach(program ${yawmark_programs})
                execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                                        --remove-section=.note
                                        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
                                COMMAND_ERROR_IS_FATAL ANY)
            endforeach()
        endif()")
endif()
# The desktop entry and the metainfo carry the application's id in their names.
set(YAWMARK_APP_ID org.yawmark.Yawmark)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${YAWMARK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${YAWMARK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The type of case files, so that a file manager opens them with the program.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${YAWMARK_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${YAWMARK_APP_ID}.xml)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hicolor/${size}x${size}/apps/yawmark.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/PackageDocs.cmake)

set(CPACK_PACKAGE_NAME yawmark)
set(CPACK_PACKAGE_VENDOR "The Yawmark developers")
set(CPACK_PACKAGE_CONTACT "${YAWMARK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${YAWMARK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Simulates how a car skids when the handbrake locks its rear wheels")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
# Control files owned by root and 0644 (0755 for scripts), as dpkg-deb expects.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION "Yawmark simulates, in two dimensions, how a car skids when the
handbrake locks its rear wheels while the front wheels keep rolling, and draws
the trails of the mass centre and the four wheels with outlines of the car.
yawmark-batch runs the same skid without a window and prints its trajectory
as CSV or draws its plot into a PNG image.")
# Qt's libraries and what they pull in are found from the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Text needs a font: DejaVu Sans (fonts-dejavu-core), and DejaVu Sans Condensed
# (fonts-dejavu-extra), the font of the window's forms, whose captions are
# clipped in the wider DejaVu Sans. The xcb platform plugin comes with
# libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra")
include(CPack)

# The desktop entry and the metainfo are checked by the tools desktops use,
# where they are installed (desktop-file-utils, appstream).
if(YAWMARK_BUILD_TESTS)
    find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
    if(DESKTOP_FILE_VALIDATE)
        add_test(NAME desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE}
                 ${PROJECT_SOURCE_DIR}/packaging/${YAWMARK_APP_ID}.desktop)
        set_tests_properties(desktop_entry PROPERTIES FAIL_REGULAR_EXPRESSION "error|warning")
    endif()
    find_program(APPSTREAMCLI appstreamcli)
    if(APPSTREAMCLI)
        add_test(NAME appstream_metainfo COMMAND ${APPSTREAMCLI} validate --no-net
                 ${PROJECT_SOURCE_DIR}/packaging/${YAWMARK_APP_ID}.metainfo.xml)
    endif()
endif()
