# The flags Debian builds its packages with: hardening, and the source folder
# mapped out of the binary so that every clone builds the same bytes. Where
# dpkg-buildflags is missing, the same flags as Debian 12 gives them.
include(CheckCXXCompilerFlag)

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        # Run in the source folder: the prefix map it gives names the current one.
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${DPKG_BUILDFLAGS} --get ${kind}
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
            COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(debian_${kind} UNIX_COMMAND "${flags}")
    endforeach()
else()
    set(debian_CPPFLAGS -Wdate-time -D_FORTIFY_SOURCE=2)
    set(debian_CXXFLAGS -ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -fstack-protector-strong
        -Wformat -Werror=format-security)
    set(debian_LDFLAGS -Wl,-z,relro -Wl,-z,now)
endif()
# The build type chooses optimisation and debug info.
list(FILTER debian_CXXFLAGS EXCLUDE REGEX "^-(g|O.*)$")

# A build folder outside the source folder is mapped out too.
list(APPEND debian_CXXFLAGS -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
# What newer Debian releases add: stack clash probes and control-flow landing pads.
foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "HAVE${flag}" have)
    check_cxx_compiler_flag(${flag} ${have})
    if(${have})
        list(APPEND debian_CXXFLAGS ${flag})
    endif()
endforeach()

add_compile_options(${debian_CXXFLAGS})
# Fortify needs an optimised build; debug builds (the sanitizer build) go without.
add_compile_options("$<$<NOT:$<CONFIG:Debug>>:${debian_CPPFLAGS}>")
add_link_options(${debian_LDFLAGS})
