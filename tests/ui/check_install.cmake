# Installs the build into a scratch prefix and checks the program, menu entry and icons.
# Arguments: BUILD_DIR, PREFIX, DESKTOP_FILE_VALIDATE.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(program "${PREFIX}/bin/marlovin")
set(entry "${PREFIX}/share/applications/marlovin.desktop")
set(bitmap "${PREFIX}/share/icons/hicolor/32x32/apps/marlovin.png")
set(scalable "${PREFIX}/share/icons/hicolor/scalable/apps/marlovin.svg")
foreach(installed IN ITEMS "${program}" "${entry}" "${bitmap}" "${scalable}")
    if(NOT EXISTS "${installed}")
        message(FATAL_ERROR "not installed: ${installed}")
    endif()
endforeach()
execute_process(COMMAND test -f "${program}" -a -x "${program}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "not an executable file: ${program}")
endif()

# A PNG's width and height are the big-endian words at bytes 16 and 20.
file(READ "${bitmap}" header LIMIT 24 HEX)
string(SUBSTRING "${header}" 0 16 signature)
string(SUBSTRING "${header}" 32 16 size)
if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT size STREQUAL "0000002000000020")
    message(FATAL_ERROR "${bitmap} is not a 32 x 32 PNG (header ${header})")
endif()

file(READ "${scalable}" svg LIMIT 4096)
if(NOT svg MATCHES "<svg")
    message(FATAL_ERROR "${scalable} is not an SVG file")
endif()

file(STRINGS "${entry}" lines)
foreach(wanted IN ITEMS "Name=Marlovin" "Exec=marlovin" "Icon=marlovin"
        "Categories=Game;BoardGame;")
    if(NOT wanted IN_LIST lines)
        message(FATAL_ERROR "${entry} lacks the line ${wanted}")
    endif()
endforeach()

if(NOT DESKTOP_FILE_VALIDATE)
    message(FATAL_ERROR "desktop-file-validate not found (scripts/deps.sh installs it)")
endif()
execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${entry}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0 OR out MATCHES "error")
    message(FATAL_ERROR "desktop-file-validate rejects ${entry}:\n${out}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
