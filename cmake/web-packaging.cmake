# The game for browsers: a static site any web server can host, installable as
# an app and playable offline, in site/ of the build folder, and a zip of it
# from CPack. Beside the page, with its script and style in page/, and the
# program: the icons, the app's manifest, the service worker, and the licence
# texts (ours, Qt's with the code it bundles and our change to it, and those
# of the fonts built into the program).
set(site ${PROJECT_BINARY_DIR}/site)
set(game $<TARGET_FILE_DIR:catch-the-moxel>/catch-the-moxel)
# The page's desktop: room for the main window at its top left and for the
# score window, frames included, at its designed place. The page shrinks it
# to fit a smaller screen.
set(MOXEL_SCREEN_WIDTH 816)
set(MOXEL_SCREEN_HEIGHT 584)
# The page around the game, and the installed app's splash and title bar.
set(MOXEL_PAGE_COLOUR "#202020")

set(qt_licenses ${QT6_INSTALL_PREFIX}/licenses)
if(NOT IS_DIRECTORY ${qt_licenses})
    message(FATAL_ERROR "Qt's licence texts are missing from ${qt_licenses}: "
        "build Qt with scripts/build-qt-web")
endif()
file(COPY ${qt_licenses}/ DESTINATION ${site}/licenses/Qt)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${site}/LICENSE.txt COPYONLY)
foreach(package fonts-comic-neue fonts-liberation2 fonts-dejavu-core ttf-bitstream-vera)
    configure_file(/usr/share/doc/${package}/copyright ${site}/licenses/${package}.txt COPYONLY)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/app/web/manifest.webmanifest.in
    ${site}/manifest.webmanifest @ONLY)

# The app's icons, drawn from the game's icon; the maskable ones keep the
# figure inside the circle a launcher may cut them to, on the icon's colour.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon ${PROJECT_SOURCE_DIR}/assets/app-icon.svg)
file(READ ${icon} svg)
string(REGEX MATCH "<rect [^>]*fill=\"(#[0-9A-Fa-f]+)\"" tile "${svg}")  # the first rect
set(tile ${CMAKE_MATCH_1})
set(icons)
foreach(size 192 512)
    math(EXPR inner "${size} * 4 / 5")
    math(EXPR margin "(${size} - ${inner}) / 2")
    add_custom_command(OUTPUT ${site}/app-icon-${size}.png ${site}/app-icon-maskable-${size}.png
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} ${icon} -o ${site}/app-icon-${size}.png
        COMMAND ${RSVG_CONVERT} -w ${inner} -h ${inner} --page-width ${size} --page-height ${size}
            --left ${margin} --top ${margin} --background-color ${tile} ${icon}
            -o ${site}/app-icon-maskable-${size}.png
        DEPENDS ${icon} COMMENT "Drawing the app's icons of ${size} px" VERBATIM)
    list(APPEND icons ${site}/app-icon-${size}.png ${site}/app-icon-maskable-${size}.png)
endforeach()

# The build's figures go into the page now, the program's digests once it is
# built. The page's script and style are files of their own, as a host's
# strict security policy asks: nothing inline runs.
set(MOXEL_BUILD_FILES @MOXEL_BUILD_FILES@)
configure_file(${PROJECT_SOURCE_DIR}/app/web/index.html.in page.html.in @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/app/web/page.css.in ${site}/page/page.css @ONLY)
file(GLOB page_scripts CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/app/web/page/*.js)
set(site_script ${CMAKE_CURRENT_LIST_DIR}/web-site.py)
set(worker ${PROJECT_SOURCE_DIR}/app/web/service-worker.js.in)
add_custom_command(OUTPUT ${site}/index.html
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
        ${PROJECT_SOURCE_DIR}/assets/app-icon.svg ${PROJECT_SOURCE_DIR}/assets/app-icon-32.png
        ${site}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page_scripts} ${site}/page
    COMMAND ${site_script} ${PROJECT_BINARY_DIR}/page.html.in ${worker} ${game} ${site}
    DEPENDS catch-the-moxel ${PROJECT_BINARY_DIR}/page.html.in ${worker} ${site_script} ${icons}
        ${page_scripts} ${site}/page/page.css ${site}/manifest.webmanifest
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
