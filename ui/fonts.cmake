# The licences of the fonts built into the program go with its documentation.
include(GNUInstallDirs)
install(FILES assets/fonts/LICENSE-Liberation.txt assets/fonts/LICENSE-TeXGyreAdventor.txt
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/marlovin)
