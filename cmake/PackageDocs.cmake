# The documents a distribution wants beside the programs, installed into
# share/doc/yawmark and share/man/man1:
# - copyright: the Debian machine-readable copyright file, made at configure
#   time from packaging/copyright.in with the licence text of LICENSE;
# - changelog.gz: the Debian changelog made from CHANGELOG.md at build time
#   (packaging/debian-changelog.sh, which also refuses a CHANGELOG.md whose
#   newest entry is not the project's version);
# - README.md;
# - yawmark.1.gz and yawmark-batch.1.gz: manual pages that help2man makes at
#   build time from each program's --help and --version, with the hand-written
#   sections of packaging/PROGRAM.h2m. Without help2man they are left out,
#   with a warning.
# Everything compressed is compressed as Debian does: gzip -9n (best, and no
# name or time stamp in the file, so a rebuild gives the same bytes).
# Expects YAWMARK_MAINTAINER ("Name <address>") to be set.
set(YAWMARK_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/yawmark)
set(YAWMARK_DOC_BUILD_DIR ${PROJECT_BINARY_DIR}/package-docs)
file(MAKE_DIRECTORY ${YAWMARK_DOC_BUILD_DIR})
find_program(GZIP_PROGRAM gzip REQUIRED)

# The copyright file: its License paragraph is the licence text of LICENSE from
# "Permission is hereby granted" on, each line indented by one space and each
# empty line written as " .".
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE yawmark_licence)
string(FIND "${yawmark_licence}" "Permission is hereby granted" yawmark_licence_start)
if(yawmark_licence_start LESS 0)
    message(FATAL_ERROR "LICENSE: no \"Permission is hereby granted\" paragraph to copy")
endif()
string(SUBSTRING "${yawmark_licence}" ${yawmark_licence_start} -1 yawmark_licence)
string(STRIP "${yawmark_licence}" yawmark_licence)
string(REGEX REPLACE "\n\n" "\n.\n" yawmark_licence "${yawmark_licence}")
string(REPLACE "\n" "\n " yawmark_licence "${yawmark_licence}")
set(YAWMARK_LICENSE_TEXT " ${yawmark_licence}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${YAWMARK_DOC_BUILD_DIR}/copyright
               @ONLY NEWLINE_STYLE UNIX)

# The release date: the newest entry of CHANGELOG.md, headed "## VERSION
# (YYYY-MM-DD)". The manual pages carry it (help2man reads SOURCE_DATE_EPOCH),
# so they do not change with the day they are built on.
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md yawmark_release REGEX "^## " LIMIT_COUNT 1)
if(NOT yawmark_release MATCHES "^## [^ ]+ \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")
    message(FATAL_ERROR "CHANGELOG.md: the newest entry is headed \"## VERSION (YYYY-MM-DD)\", "
                        "not \"${yawmark_release}\"")
endif()
execute_process(COMMAND date -u -d ${CMAKE_MATCH_1} +%s
                OUTPUT_VARIABLE YAWMARK_RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

set(yawmark_changelog ${YAWMARK_DOC_BUILD_DIR}/changelog)
add_custom_command(
    OUTPUT ${yawmark_changelog} ${yawmark_changelog}.gz
    COMMAND sh ${PROJECT_SOURCE_DIR}/packaging/debian-changelog.sh
            ${PROJECT_SOURCE_DIR}/CHANGELOG.md yawmark ${PROJECT_VERSION}
            ${YAWMARK_MAINTAINER} ${yawmark_changelog}
    COMMAND ${GZIP_PROGRAM} -9nkf ${yawmark_changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/packaging/debian-changelog.sh
    COMMENT "Making the Debian changelog from CHANGELOG.md"
    VERBATIM)
set(yawmark_docs ${yawmark_changelog}.gz)

find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
    message(WARNING "help2man was not found: the manual pages are neither made nor installed "
                    "(Debian: apt-get install help2man)")
endif()
set(yawmark_manpages)
foreach(program yawmark yawmark-batch)
    if(HELP2MAN AND TARGET ${program})
        set(page ${YAWMARK_DOC_BUILD_DIR}/${program}.1)
        set(include ${PROJECT_SOURCE_DIR}/packaging/${program}.h2m)
        # The program answers --help and --version without a display.
        add_custom_command(
            OUTPUT ${page} ${page}.gz
            COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${YAWMARK_RELEASE_EPOCH}
                    ${HELP2MAN} --no-info --section=1 --include=${include} --output=${page}
                    $<TARGET_FILE:${program}>
            COMMAND ${GZIP_PROGRAM} -9nkf ${page}
            DEPENDS ${program} ${include}
            COMMENT "Making the manual page ${program}(1) with help2man"
            VERBATIM)
        list(APPEND yawmark_manpages ${page}.gz)
    endif()
endforeach()

add_custom_target(package_docs ALL DEPENDS ${yawmark_docs} ${yawmark_manpages})

install(FILES ${YAWMARK_DOC_BUILD_DIR}/copyright ${yawmark_changelog}.gz
              ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${YAWMARK_DOCDIR})
if(yawmark_manpages)
    install(FILES ${yawmark_manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
