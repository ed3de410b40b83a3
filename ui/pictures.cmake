# The pictures for screens denser than 1x, drawn by the build from their vector sources so that
# the program reads no SVG and links no drawing library: the banner at the densities desktops use,
# the icon at the sizes they show. They go into the resources under :/pictures/.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(pictures_dir ${CMAKE_CURRENT_BINARY_DIR}/pictures)
# The banner's lettering is set in the program's own faces, whatever fonts the build host has.
set(MARLOVIN_PICTURE_FONTS ${pictures_dir}/fonts.conf CACHE INTERNAL "")
file(WRITE ${MARLOVIN_PICTURE_FONTS} "<?xml version=\"1.0\"?>\n\
<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n<fontconfig>\
<dir>${CMAKE_CURRENT_SOURCE_DIR}/assets/fonts</dir><cachedir>${pictures_dir}/fc-cache</cachedir>\
</fontconfig>\n")
set(draw ${CMAKE_COMMAND} -E env FONTCONFIG_FILE=${MARLOVIN_PICTURE_FONTS} ${RSVG_CONVERT})

set(pictures)
# Keep these in step with kBannerDensities and kIconSides in pictures.cpp.
foreach(density 1.25 1.5 1.75 2 2.5 3 4)
    set(picture ${pictures_dir}/banner@${density}x.png)
    add_custom_command(OUTPUT ${picture}
        COMMAND ${draw} -z ${density} -o ${picture} ${CMAKE_CURRENT_SOURCE_DIR}/assets/banner.svg
        DEPENDS assets/banner.svg VERBATIM)
    list(APPEND pictures ${picture})
endforeach()
foreach(side 16 22 24 48 64 96 128 256)
    set(picture ${pictures_dir}/icon-${side}.png)
    add_custom_command(OUTPUT ${picture}
        COMMAND ${draw} -w ${side} -h ${side} -o ${picture} ${CMAKE_CURRENT_SOURCE_DIR}/assets/icon.svg
        DEPENDS assets/icon.svg VERBATIM)
    list(APPEND pictures ${picture})
endforeach()
qt_add_resources(marlovin_ui pictures PREFIX /pictures BASE ${pictures_dir} FILES ${pictures})

# Windows: the program file's icon, the 32 being the window's own bitmap; 256 is stored as PNG.
if(WIN32)
    find_program(ICOTOOL icotool REQUIRED)
    set(MARLOVIN_PROGRAM_ICO ${pictures_dir}/marlovin.ico CACHE INTERNAL "")
    set(sides ${pictures_dir}/icon-16.png ${pictures_dir}/icon-24.png
        ${CMAKE_CURRENT_SOURCE_DIR}/assets/icon.png ${pictures_dir}/icon-48.png)
    add_custom_command(OUTPUT ${MARLOVIN_PROGRAM_ICO}
        COMMAND ${ICOTOOL} -c -o ${MARLOVIN_PROGRAM_ICO} ${sides} -r ${pictures_dir}/icon-256.png
        DEPENDS ${sides} ${pictures_dir}/icon-256.png VERBATIM)
    add_custom_target(marlovin_ico DEPENDS ${MARLOVIN_PROGRAM_ICO})
endif()
