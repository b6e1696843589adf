# The flags Debian builds its packages with: hardening, and the source folder
# mapped out of the binary so that every clone builds the same bytes. Where
# dpkg-buildflags is missing, the same flags as Debian 12 gives them. For
# Windows, the same compiler flags, and what the PE linker has for hardening.
include(CheckCXXCompilerFlag)

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(EMSCRIPTEN)
    # The browser runs WebAssembly in its sandbox, with its own bounds checks:
    # the native hardening flags mean nothing there.
    set(debian_CXXFLAGS -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.)
elseif(DPKG_BUILDFLAGS AND NOT WIN32)
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
if(WIN32)
    # ASLR with high entropy and DEP; no time stamp in the headers, so every
    # build of a commit is the same bytes. The stack protector's and fortify's
    # checks come from libssp, which the flag links. -static: the C and C++
    # run times go into the exe, no MinGW DLL beside it.
    set(debian_LDFLAGS -Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat
        -Wl,--no-insert-timestamp -fstack-protector-strong -static)
endif()
# The build type chooses optimisation and debug info.
list(FILTER debian_CXXFLAGS EXCLUDE REGEX "^-(g|O.*)$")

# A build folder outside the source folder is mapped out too.
list(APPEND debian_CXXFLAGS -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
# What newer Debian releases add: stack clash probes and control-flow landing pads.
# Windows probes every large stack frame anyway (__chkstk), and GCC 12 for
# MinGW fails on the flag.
set(extra_hardening -fstack-clash-protection -fcf-protection)
if(WIN32)
    list(REMOVE_ITEM extra_hardening -fstack-clash-protection)
elseif(EMSCRIPTEN)
    set(extra_hardening)
endif()
foreach(flag ${extra_hardening})
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

if(EMSCRIPTEN)
    # A run-time error is a C++ exception, caught where the handler began.
    # Emscripten catches exceptions only when asked, and Qt for the web, built
    # without them, asks it not to.
    add_compile_options(-fexceptions)
    add_link_options(-fexceptions)
endif()
