# How the Windows executables are built for users: small, with their debug information in a separate file, and
# the same bytes from the same sources wherever and whenever they are built.
#
# - Size: optimised for size, each function and datum in its own section so the linker drops what nothing uses,
#   without run-time type information.
# - Symbols: compiled with debug information, which lumivex_split_symbols() moves out of the executable into a
#   symbols file beside it, named by version and architecture; the executable keeps a debug link to it, so a
#   debugger given both finds the symbols.
# - Reproducible: no PE time stamp, and neither the source folder nor the build folder appears in the output
#   (both are mapped to "."; the debug information then names sources relative to the checkout).

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(LUMIVEX_ARCH win64)
else()
    set(LUMIVEX_ARCH win32)
endif()

add_compile_options(-g -ffunction-sections -fdata-sections "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=."
    "-ffile-prefix-map=${CMAKE_BINARY_DIR}=.")
add_link_options(-Wl,--no-insert-timestamp)
# No run-time type information: nothing asks a type at run time (no dynamic_cast or typeid), and the type records
# of every class with virtual functions took about 9 KB. Exceptions keep the type records they need to be caught.
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
# The library's reference-counted strings: the exception classes of the standard library carry that string type
# anyway, so with it the program no longer links a second implementation of std::string (about 30 KB).
add_compile_definitions(_GLIBCXX_USE_CXX11_ABI=0)
foreach(lang C CXX)
    string(REGEX REPLACE "-O[0-9s]" "-Os" CMAKE_${lang}_FLAGS_RELEASE "${CMAKE_${lang}_FLAGS_RELEASE}")
endforeach()
# Only where something is shipped: the optimised configurations. A debug build keeps every section for the debugger.
add_link_options($<$<NOT:$<CONFIG:Debug>>:-Wl,--gc-sections>)
# What each object and library member adds to an executable, to see where its bytes come from:
# -DLUMIVEX_LINK_MAP=ON writes "<name>.map" beside each one.
option(LUMIVEX_LINK_MAP "Write a linker map beside each Windows executable" OFF)
if(LUMIVEX_LINK_MAP)
    add_link_options(-Wl,-Map=$<TARGET_FILE:$<TARGET_PROPERTY:NAME>>.map)
endif()

# Links a 32-bit executable through cmake/unwind_gc_link.sh, so that --gc-sections drops the template and inline
# functions nothing calls together with their unwind entries (the linker's own script keeps them all). The 64-bit
# build keeps its unwind tables in .pdata/.xdata, which never kept a function: it links as it is.
function(lumivex_drop_unused_functions target)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set_property(TARGET ${target} PROPERTY CXX_LINKER_LAUNCHER bash ${CMAKE_SOURCE_DIR}/cmake/unwind_gc_link.sh)
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/unwind_gc_link.sh)
    endif()
endfunction()

# Moves the debug information of an executable target into "<name>-<version>-<arch>.debug" beside it and leaves
# a debug link to that file in the executable. objcopy writes a PE time stamp of its own (the time, or
# SOURCE_DATE_EPOCH when set), so it is given 0: the executable keeps none.
function(lumivex_split_symbols target)
    set(symbols "${target}-${PROJECT_VERSION}-${LUMIVEX_ARCH}.debug")
    set(objcopy ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY})
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${objcopy} --only-keep-debug $<TARGET_FILE_NAME:${target}> ${symbols}
        COMMAND ${objcopy} --strip-all --add-gnu-debuglink=${symbols} $<TARGET_FILE_NAME:${target}>
        WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
        BYPRODUCTS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${symbols}
        VERBATIM)
    set_property(TARGET ${target} PROPERTY LUMIVEX_SYMBOLS_FILE ${symbols})
endfunction()
