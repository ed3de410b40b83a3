# The Windows executable's version resource and icon.
if(WIN32)
    # The resource's text fields write the minor number in two digits and the revision in four.
    function(marlovin_zero_pad value width out)
        string(LENGTH "${value}" length)
        set(padded "${value}")
        if(length LESS width)
            math(EXPR missing "${width} - ${length}")
            string(REPEAT "0" ${missing} zeros)
            set(padded "${zeros}${value}")
        endif()
        set(${out} "${padded}" PARENT_SCOPE)
    endfunction()
    marlovin_zero_pad("${PROJECT_VERSION_MINOR}" 2 minor_text)
    marlovin_zero_pad("${PROJECT_VERSION_TWEAK}" 4 revision_text)
    set(MARLOVIN_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${minor_text}.${revision_text}")
    # Converted once from the window icon: convert icon.png -define icon:format=bmp marlovin.ico
    set(MARLOVIN_ICON_FILE "${CMAKE_CURRENT_SOURCE_DIR}/marlovin.ico")

    configure_file(marlovin.rc.in ${CMAKE_CURRENT_BINARY_DIR}/marlovin.rc @ONLY)
    target_sources(marlovin PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/marlovin.rc)
    set_target_properties(marlovin PROPERTIES WIN32_EXECUTABLE ON)
endif()
