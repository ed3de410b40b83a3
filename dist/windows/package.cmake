# The Windows installer and the portable zip: cpack in the build folder makes
# Marlovin-<version>-win64.exe (NSIS, German) and Marlovin-<version>-win64.zip from the same
# install rules, the zip holding the program folder as the installer lays it out.
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME ${MARLOVIN_PRODUCT_NAME})
set(CPACK_PACKAGE_VENDOR ${MARLOVIN_COMPANY_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${MARLOVIN_PRODUCT_NAME}-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${MARLOVIN_PRODUCT_NAME})
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${MARLOVIN_PRODUCT_NAME})
set(CPACK_PACKAGE_EXECUTABLES ${MARLOVIN_PRODUCT_NAME} ${MARLOVIN_PRODUCT_NAME})
set(CPACK_STRIP_FILES ON)
# The zip unpacks into a folder of the program's name.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_ARCHIVE_FILE_NAME ${CPACK_PACKAGE_FILE_NAME})

# Debian's makensis makes 32-bit installers unless told otherwise.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_PACKAGE_NAME ${MARLOVIN_PRODUCT_NAME})
set(CPACK_NSIS_DISPLAY_NAME ${MARLOVIN_PRODUCT_NAME})
set(CPACK_NSIS_INSTALLED_ICON_NAME ${MARLOVIN_PRODUCT_NAME}.exe)
set(CPACK_NSIS_MUI_ICON ${MARLOVIN_PROGRAM_ICO})
set(CPACK_NSIS_MUI_UNIICON ${MARLOVIN_PROGRAM_ICO})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_UNINSTALL_NAME Deinstallieren)

# CMake's installer template, with German as its only language: the installer then speaks German
# whatever the language of the Windows it runs on.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in template)
string(REGEX REPLACE "\n[ \t]*!insertmacro MUI_LANGUAGE \"[A-Za-z]+\"[^\n]*" "" template "${template}")
string(REPLACE "!insertmacro MUI_UNPAGE_INSTFILES\n"
    "!insertmacro MUI_UNPAGE_INSTFILES\n  !insertmacro MUI_LANGUAGE \"German\"\n" template "${template}")
# The uninstaller's link in the Start menu is named as the uninstaller is.
string(REPLACE "Uninstall.lnk" "@CPACK_NSIS_UNINSTALL_NAME@.lnk" template "${template}")
# The maker's key holds only the game's: it goes once the game's own is gone, if nothing else is
# in it.
set(key "DeleteRegKey /ifempty SHCTX \"Software\\@CPACK_PACKAGE_VENDOR@")
set(game_key "${key}\\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@\"\n")
string(REPLACE "${game_key}" "${game_key}  ${key}\"\n" template "${template}")
if(NOT template MATCHES "MUI_LANGUAGE \"German\"" OR NOT template MATCHES "@CPACK_PACKAGE_VENDOR@\"\n")
    message(FATAL_ERROR "CMake's NSIS template has changed: the installer cannot be made German "
        "and clean to uninstall")
endif()
file(WRITE ${PROJECT_BINARY_DIR}/nsis/NSIS.template.in "${template}")
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_BINARY_DIR}/nsis)

include(CPack)
