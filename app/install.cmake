# Installs the program and, on freedesktop systems, its menu entry, AppStream metainfo, manual
# pages and documentation; the icons and the fonts' licences come with ui/. Debian's layout for
# games: the program goes to <prefix>/games.
include(GNUInstallDirs)

set(games_dir ${CMAKE_INSTALL_BINDIR})
if(UNIX AND NOT APPLE)
    set(games_dir games)
elseif(WIN32)
    # One program folder, the DLLs beside the program.
    set(games_dir .)
endif()
set(MARLOVIN_INSTALL_GAMESDIR ${games_dir} CACHE STRING "Where the program goes, below the prefix")
install(TARGETS marlovin RUNTIME DESTINATION ${MARLOVIN_INSTALL_GAMESDIR})

if(UNIX AND NOT APPLE)
    # The menu entry names the program by its full path, taken from the prefix at install time
    # (cmake --install --prefix), so it starts the game whether or not that games folder is on
    # the desktop session's PATH.
    set(entry ${CMAKE_INSTALL_DATADIR}/applications/${MARLOVIN_APP_ID}.desktop)
    install(CODE "
        set(MARLOVIN_INSTALLED_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${MARLOVIN_INSTALL_GAMESDIR}/marlovin\")
        message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${entry}\")
        configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/${MARLOVIN_APP_ID}.desktop.in\"
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${entry}\" @ONLY)")

    set(dist ${PROJECT_SOURCE_DIR}/dist)
    # AppStream 1.0 names the maker in <developer>, which AppStream 0.16 (Debian 12) does not know
    # yet: the metainfo is written for the AppStream the build finds, the newer one if none.
    set(MARLOVIN_METAINFO_DEVELOPER
        "<developer id=\"org.example\">\n    <name>${MARLOVIN_COMPANY_NAME}</name>\n  </developer>")
    find_program(APPSTREAMCLI appstreamcli)
    if(APPSTREAMCLI)
        execute_process(COMMAND ${APPSTREAMCLI} --version OUTPUT_VARIABLE appstream)
        if(appstream MATCHES "version: 0\\.")
            set(MARLOVIN_METAINFO_DEVELOPER "<developer_name>${MARLOVIN_COMPANY_NAME}</developer_name>")
        endif()
    endif()
    set(metainfo ${CMAKE_CURRENT_BINARY_DIR}/${MARLOVIN_APP_ID}.metainfo.xml)
    configure_file(${dist}/${MARLOVIN_APP_ID}.metainfo.xml.in ${metainfo} @ONLY)
    install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # Manual pages and the changelog are compressed reproducibly (no name, no time stamp).
    function(marlovin_install_gzipped source destination name)
        set(folder ${CMAKE_CURRENT_BINARY_DIR}/gz/${destination})
        add_custom_command(OUTPUT ${folder}/${name}.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
            COMMAND sh -c "gzip -9nc '${source}' > '${folder}/${name}.gz'"
            DEPENDS ${source} VERBATIM)
        string(MAKE_C_IDENTIFIER "${destination}/${name}" id)
        add_custom_target(marlovin_gz_${id} ALL DEPENDS ${folder}/${name}.gz)
        install(FILES ${folder}/${name}.gz DESTINATION ${destination})
    endfunction()
    marlovin_install_gzipped(${dist}/marlovin.6 ${CMAKE_INSTALL_MANDIR}/man6 marlovin.6)
    marlovin_install_gzipped(${dist}/marlovin.de.6 ${CMAKE_INSTALL_MANDIR}/de/man6 marlovin.6)
    marlovin_install_gzipped(${dist}/changelog ${CMAKE_INSTALL_DATADIR}/doc/marlovin changelog)
    install(FILES ${dist}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/marlovin)

    # Only the Debian package carries lintian's overrides (dist/package.cmake sets the variable).
    install(CODE "
        if(MARLOVIN_DEBIAN_PACKAGE)
            file(INSTALL \"${dist}/lintian-overrides\"
                DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/lintian/overrides\"
                RENAME marlovin)
        endif()")
endif()
