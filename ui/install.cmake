# Installs the program and, on freedesktop systems, its menu entry, icons, AppStream metainfo,
# manual pages and documentation. Debian's games layout: the program goes to <prefix>/games.
include(GNUInstallDirs)

set(MARLOVIN_INSTALL_GAMESDIR games CACHE STRING "Where the program is installed, below the prefix")
install(TARGETS marlovin RUNTIME DESTINATION ${MARLOVIN_INSTALL_GAMESDIR})

if(UNIX AND NOT APPLE)
    # The menu entry names the program by its full path, taken from the prefix at install time
    # (cmake --install --prefix), so it starts the game whether or not that games folder is on
    # the desktop session's PATH.
    install(CODE "
        set(MARLOVIN_INSTALLED_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${MARLOVIN_INSTALL_GAMESDIR}/marlovin\")
        configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/${MARLOVIN_APP_ID}.desktop.in\"
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${MARLOVIN_APP_ID}.desktop\"
            @ONLY)
        message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${MARLOVIN_APP_ID}.desktop\")")
    install(FILES assets/icon.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME marlovin.png)
    install(FILES assets/icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME marlovin.svg)

    set(dist ${PROJECT_SOURCE_DIR}/dist)
    install(FILES ${dist}/${MARLOVIN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # Manual pages and the changelog are compressed reproducibly (no name, no time stamp).
    set(compressed)
    foreach(pair IN ITEMS "marlovin.6:man/marlovin.6.gz" "marlovin.de.6:man/de/marlovin.6.gz"
            "changelog:doc/changelog.gz")
        string(REPLACE ":" ";" pair "${pair}")
        list(GET pair 0 source)
        list(GET pair 1 target)
        get_filename_component(folder ${CMAKE_CURRENT_BINARY_DIR}/${target} DIRECTORY)
        add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
            COMMAND sh -c "gzip -9nc '${dist}/${source}' > '${CMAKE_CURRENT_BINARY_DIR}/${target}'"
            DEPENDS ${dist}/${source} VERBATIM)
        list(APPEND compressed ${CMAKE_CURRENT_BINARY_DIR}/${target})
    endforeach()
    add_custom_target(marlovin_compressed_docs ALL DEPENDS ${compressed})
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/marlovin.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/de/marlovin.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man6)
    install(FILES ${dist}/copyright ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/marlovin)
endif()

# Only the Debian package carries lintian's overrides (dist/package.cmake sets the variable).
install(CODE "
    if(MARLOVIN_DEBIAN_PACKAGE)
        file(INSTALL \"${PROJECT_SOURCE_DIR}/dist/lintian-overrides\"
            DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/lintian/overrides\"
            RENAME marlovin)
    endif()")
