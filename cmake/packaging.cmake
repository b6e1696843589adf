# A Debian package; its library dependencies are read off the binary.
include(GNUInstallDirs)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME catch-the-moxel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Catch the Moxel maintainers <maintainers@catch-the-moxel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reflex game: catch the bouncing Moxel")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Two copies of the Moxel bounce across the window on diagonal paths;\nclick one as fast as you can. A score window shows your time, a score\nand a rank. Three levels of difficulty.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so not seen in the binary: the window system plugins and
# the fonts that stand in for the ones the layout names. One list, which
# scripts/install-deps and the package test read too.
file(READ ${PROJECT_SOURCE_DIR}/packaging/runtime-depends runtime_depends)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/packaging/runtime-depends)
string(STRIP "${runtime_depends}" runtime_depends)
string(REPLACE " " ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${runtime_depends}")
# Without it the game runs on Wayland sessions through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)

# The copyright file and the changelog every Debian package carries; a native
# package's changelog is changelog.gz, its newest entry this version.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^${CPACK_PACKAGE_NAME} \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog does not start with version ${PROJECT_VERSION}")
endif()
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog packaging/changelog COPYONLY)
add_custom_command(OUTPUT packaging/changelog.gz
    COMMAND gzip -9nkf changelog
    DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/packaging
    COMMENT "Compressing the changelog" VERBATIM)
add_custom_target(changelog ALL DEPENDS packaging/changelog.gz)
set(docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_PACKAGE_NAME})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
    DESTINATION ${docdir})

include(${CMAKE_CURRENT_LIST_DIR}/source-date-epoch.cmake)
moxel_pack_at_source_date("")
include(CPack)
