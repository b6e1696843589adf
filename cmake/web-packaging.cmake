# The game for browsers: a static site any web server can host, in site/ of
# the build folder, and a zip of it from CPack. Beside the page and the
# program: Qt's loader, the icon, and the licence texts (ours, Qt's with the
# code it bundles, and those of the fonts built into the program).
set(site ${PROJECT_BINARY_DIR}/site)
set(game $<TARGET_FILE_DIR:catch-the-moxel>/catch-the-moxel)
# The page's desktop: room for the main window at its top left and for the
# score window, frames included, at its designed place.
set(MOXEL_SCREEN_WIDTH 816)
set(MOXEL_SCREEN_HEIGHT 584)

set(qt_licenses ${QT6_INSTALL_PREFIX}/licenses)
if(NOT IS_DIRECTORY ${qt_licenses})
    message(FATAL_ERROR "Qt's licence texts are missing from ${qt_licenses}: "
        "build Qt with scripts/build-qt-web")
endif()
file(COPY ${qt_licenses}/ DESTINATION ${site}/licenses/Qt)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${site}/LICENSE.txt COPYONLY)
foreach(package fonts-comic-neue fonts-liberation2)
    configure_file(/usr/share/doc/${package}/copyright ${site}/licenses/${package}.txt COPYONLY)
endforeach()

# The program's size is filled in once it is built.
set(MOXEL_WASM_BYTES @MOXEL_WASM_BYTES@)
configure_file(${PROJECT_SOURCE_DIR}/app/web/index.html.in page.html.in @ONLY)
add_custom_command(OUTPUT ${site}/index.html
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
        ${QT6_INSTALL_PREFIX}/plugins/platforms/qtloader.js
        ${PROJECT_SOURCE_DIR}/assets/app-icon.svg ${PROJECT_SOURCE_DIR}/assets/app-icon-32.png
        ${site}
    COMMAND ${CMAKE_COMMAND} -DPAGE_IN=${PROJECT_BINARY_DIR}/page.html.in -DPROGRAM=${game}
        -DSITE=${site} -P ${CMAKE_CURRENT_LIST_DIR}/web-site.cmake
    DEPENDS catch-the-moxel ${PROJECT_BINARY_DIR}/page.html.in ${CMAKE_CURRENT_LIST_DIR}/web-site.cmake
    COMMENT "Writing the site" VERBATIM)
add_custom_target(site ALL DEPENDS ${site}/index.html)

install(DIRECTORY ${site}/ DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME catch-the-moxel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME catch-the-moxel-${PROJECT_VERSION}-web)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
include(${CMAKE_CURRENT_LIST_DIR}/source-date-epoch.cmake)
moxel_pack_at_source_date("")
include(CPack)
