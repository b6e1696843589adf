# The Windows game as a portable zip and an NSIS installer, in the build folder.
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME catch-the-moxel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Catch the Moxel maintainers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME catch-the-moxel-${PROJECT_VERSION}-windows-x86_64)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
# The NSIS lines below reach the installer's script as written, backslashes too.
set(CPACK_VERBATIM_VARIABLES ON)

# Beside the game: our licence, a short read-me, and Qt's licence texts, which
# the Qt build keeps in its prefix.
set(qt_licenses ${QT6_INSTALL_PREFIX}/licenses)
if(NOT IS_DIRECTORY ${qt_licenses})
    message(FATAL_ERROR "Qt's licence texts are missing from ${qt_licenses}: "
        "build Qt with scripts/build-qt-windows")
endif()
configure_file(${PROJECT_SOURCE_DIR}/LICENSE packaging/LICENSE.txt COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in packaging/README.txt @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/LICENSE.txt ${PROJECT_BINARY_DIR}/packaging/README.txt
    DESTINATION .)
install(DIRECTORY ${qt_licenses}/ DESTINATION licenses/Qt)

# The installer: Program Files, two Start menu entries, and an uninstaller
# that Apps / Add or Remove Programs lists.
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Catch the Moxel")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Catch the Moxel")
set(CPACK_NSIS_PACKAGE_NAME "Catch the Moxel")
set(CPACK_NSIS_DISPLAY_NAME "Catch the Moxel")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer, like the game: it runs where the game runs (wine64 too).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_PACKAGE_EXECUTABLES catch-the-moxel "Catch the Moxel")
set(CPACK_NSIS_INSTALLED_ICON_NAME catch-the-moxel.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/assets/app-icon.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/assets/app-icon.ico)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_BINARY_DIR}/packaging/LICENSE.txt)
set(CPACK_NSIS_URL_INFO_ABOUT "https://github.com/catch-the-moxel/catch-the-moxel")
set(CPACK_NSIS_HELP_LINK "https://github.com/catch-the-moxel/catch-the-moxel/issues")
set(precise "$SMPROGRAMS\\$STARTMENU_FOLDER\\Catch the Moxel (precise timers).lnk")
set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "CreateShortCut '${precise}' '$INSTDIR\\catch-the-moxel.exe' '--precise-timers'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA
    "Delete '$SMPROGRAMS\\$MUI_TEMP\\Catch the Moxel (precise timers).lnk'")
# The size Add or Remove Programs shows, in KiB: the files of the one section.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  SectionGetSize 0 $0
  WriteRegDWORD SHCTX 'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}' 'EstimatedSize' $0")

include(${CMAKE_CURRENT_LIST_DIR}/source-date-epoch.cmake)
# The installer's name ends in -setup.
moxel_pack_at_source_date([[
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
]])
include(CPack)
