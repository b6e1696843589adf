# Every time in a package is the date of the newest changelog entry, as dpkg
# takes it, unless the caller sets SOURCE_DATE_EPOCH: so every clone of a
# commit builds the same bytes. The Qt resource compiler reads it while the
# build runs, cpack while it packs.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(source_date_epoch $ENV{SOURCE_DATE_EPOCH})
else()
    find_program(DPKG_PARSECHANGELOG dpkg-parsechangelog)
    if(DPKG_PARSECHANGELOG)
        set(read_date ${DPKG_PARSECHANGELOG} -l ${PROJECT_SOURCE_DIR}/packaging/changelog -STimestamp)
    else()
        # The entry's trailer: " -- name <address>  date".
        file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog trailer REGEX "^ -- " LIMIT_COUNT 1)
        string(REGEX REPLACE "^.*>  " "" date "${trailer}")
        set(read_date date -u -d "${date}" +%s)
    endif()
    execute_process(COMMAND ${read_date}
        OUTPUT_VARIABLE source_date_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
endif()
set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
    "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${source_date_epoch}")

# CPack packs with every time at that date too, unless the caller sets
# SOURCE_DATE_EPOCH; `more` is further code for CPack's per-generator options.
function(moxel_pack_at_source_date more)
    file(CONFIGURE OUTPUT packaging/cpack-options.cmake CONTENT
        "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})\n    set(ENV{SOURCE_DATE_EPOCH} ${source_date_epoch})\nendif()\n${more}"
        @ONLY)
    set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/packaging/cpack-options.cmake PARENT_SCOPE)
endfunction()
