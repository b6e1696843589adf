# A Debian package; its library dependencies are read off the binary.
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
# the fonts that stand in for the ones the layout names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-comic-neue, fonts-liberation2")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
