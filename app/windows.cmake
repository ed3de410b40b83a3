# The Windows program: a GUI program (no console) named after the product, carrying its version
# information and icon, with what it needs at run time beside it: Qt's DLLs and plugins, the
# MinGW runtime and Qt's German texts. The build folder's bin/ is laid out as the installed
# program folder, so the tests run the program as a player's copy would.
set(MARLOVIN_PROGRAM_FILE ${MARLOVIN_PRODUCT_NAME}.exe)
set_target_properties(marlovin PROPERTIES WIN32_EXECUTABLE ON OUTPUT_NAME ${MARLOVIN_PRODUCT_NAME})

# The version as text: the minor number to two digits, the revision to four ("1.00.0001").
function(marlovin_pad number width out)
    set(padded "0000${number}")
    string(LENGTH "${padded}" length)
    math(EXPR start "${length} - ${width}")
    string(SUBSTRING "${padded}" ${start} ${width} padded)
    set(${out} ${padded} PARENT_SCOPE)
endfunction()
marlovin_pad(${PROJECT_VERSION_MINOR} 2 minor)
marlovin_pad(${PROJECT_VERSION_TWEAK} 4 revision)
set(MARLOVIN_VERSION_TEXT ${PROJECT_VERSION_MAJOR}.${minor}.${revision})

configure_file(marlovin.rc.in ${CMAKE_CURRENT_BINARY_DIR}/marlovin.rc @ONLY)
# A library of its own, so that test programs that show the About window can carry it too.
add_library(marlovin_resource OBJECT ${CMAKE_CURRENT_BINARY_DIR}/marlovin.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/marlovin.rc PROPERTIES
    OBJECT_DEPENDS ${MARLOVIN_PROGRAM_ICO})
add_dependencies(marlovin_resource marlovin_ico)
target_link_libraries(marlovin PRIVATE marlovin_resource)

# What the program folder holds beside the program.
foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE ${path} OR NOT EXISTS ${path})
        message(FATAL_ERROR "MinGW runtime DLL not found: ${path}")
    endif()
    # Debian's copies carry their debugging symbols: 24 MB of libstdc++'s 26.
    get_filename_component(name ${path} NAME)
    set(stripped ${CMAKE_CURRENT_BINARY_DIR}/runtime/${name})
    add_custom_command(OUTPUT ${stripped}
        COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${stripped} ${path} DEPENDS ${path} VERBATIM)
    list(APPEND mingw_runtime ${stripped})
endforeach()
set(qt_dlls $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>)
# Qt for Windows is built without its translations; the host's are made from the same sources.
find_file(qt_translation qtbase_de.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(qt_conf ${CMAKE_CURRENT_SOURCE_DIR}/qt.conf)
# Windows' own look: from Qt 6.7 on the modern style, which also draws Windows 11's.
if(TARGET Qt6::QModernWindowsStylePlugin)
    set(style_plugin Qt6::QModernWindowsStylePlugin)
    set(MARLOVIN_STYLE_PLUGIN_FILE qmodernwindowsstyle.dll)
else()
    set(style_plugin Qt6::QWindowsVistaStylePlugin)
    set(MARLOVIN_STYLE_PLUGIN_FILE qwindowsvistastyle.dll)
endif()
# The notice on Qt's licence names the source the DLLs were built from.
set(MARLOVIN_QT_SOURCE ${Qt6_VERSION} CACHE STRING "The source Qt for Windows was built from")
set(notice ${CMAKE_CURRENT_BINARY_DIR}/LIESMICH.txt)
configure_file(${PROJECT_SOURCE_DIR}/dist/windows/LIESMICH.txt.in ${notice} @ONLY)

set(stage ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
add_custom_target(marlovin_runtime ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/platforms ${stage}/styles
        ${stage}/translations
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_dlls} ${mingw_runtime} ${qt_conf} ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>
        $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin> ${stage}/platforms
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${style_plugin}>
        ${stage}/styles
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_translation} ${stage}/translations
    DEPENDS ${mingw_runtime} VERBATIM)

# The offscreen plugin serves the tests only.
install(FILES ${qt_dlls} ${mingw_runtime} ${qt_conf} ${notice} DESTINATION .)
foreach(licence LGPL-3 GPL-3)
    install(FILES /usr/share/common-licenses/${licence} DESTINATION Lizenzen RENAME ${licence}.txt)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:${style_plugin}> DESTINATION styles)
install(FILES ${qt_translation} DESTINATION translations)
