# Writes the program's part of the site: the page, with the size of the
# program its progress bar counts against, and the program's files.
# cmake -DPAGE_IN= -DPROGRAM=<path without extension> -DSITE= -P web-site.cmake
file(SIZE ${PROGRAM}.wasm MOXEL_WASM_BYTES)
configure_file(${PAGE_IN} ${SITE}/index.html @ONLY)
file(COPY ${PROGRAM}.wasm ${PROGRAM}.data DESTINATION ${SITE})
# Emscripten names the data file with a random id, which only its IndexedDB
# cache (not used here) reads: a fixed one gives the same bytes every build.
file(READ ${PROGRAM}.js script)
string(REGEX REPLACE "\"package_uuid\": *\"[^\"]*\"" "\"package_uuid\":\"fonts\"" script "${script}")
get_filename_component(name ${PROGRAM} NAME)
file(WRITE ${SITE}/${name}.js "${script}")
