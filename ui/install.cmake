# The icon at the hicolor theme's usual fixed sizes and as its vector source, and the licences of
# the fonts built into the program, which go with its documentation.
include(GNUInstallDirs)
if(UNIX AND NOT APPLE)
    set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES assets/icon.png DESTINATION ${icons}/32x32/apps RENAME marlovin.png)
    foreach(side 16 22 24 48 64 128 256)
        install(FILES ${pictures_dir}/icon-${side}.png DESTINATION ${icons}/${side}x${side}/apps
            RENAME marlovin.png)
    endforeach()
    install(FILES assets/icon.svg DESTINATION ${icons}/scalable/apps RENAME marlovin.svg)
endif()
set(docs ${CMAKE_INSTALL_DATADIR}/doc/marlovin)
if(WIN32)
    set(docs .)
endif()
install(FILES assets/fonts/LICENSE-Liberation.txt assets/fonts/LICENSE-TeXGyreAdventor.txt
    DESTINATION ${docs})
