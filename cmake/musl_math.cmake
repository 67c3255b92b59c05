# The objects of musl's sine and cosine, taken from Debian's musl-dev (the C library's static
# archive) into VEXILON_MUSL_MATH_OBJECTS. Linked into the programs, they stand in for glibc's sin,
# cos and sincos in every caller, the shared muparser's too, so a frame's bits are the same on every
# processor and in the page, which compiles these functions from musl's source.
set(VEXILON_MUSL_MATH_MEMBERS sin cos sincos __sin __cos __rem_pio2 __rem_pio2_large)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-multiarch OUTPUT_VARIABLE vexilon_multiarch
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
string(REGEX REPLACE "-gnu.*$" "-musl" vexilon_musl_triplet "${vexilon_multiarch}")   # x86_64-linux-musl
find_file(VEXILON_MUSL_LIBC libc.a PATHS /usr/lib/${vexilon_musl_triplet} /usr/lib/musl/lib NO_DEFAULT_PATH)
if(NOT VEXILON_MUSL_LIBC)
    message(FATAL_ERROR "musl's libc.a not found: install the Debian package musl-dev")
endif()
set(vexilon_musl_dir ${PROJECT_BINARY_DIR}/musl-math)
file(MAKE_DIRECTORY ${vexilon_musl_dir})
set(VEXILON_MUSL_MATH_OBJECTS "")
set(vexilon_musl_archived "")
foreach(member ${VEXILON_MUSL_MATH_MEMBERS})
    list(APPEND vexilon_musl_archived ${member}.lo)
    list(APPEND VEXILON_MUSL_MATH_OBJECTS ${vexilon_musl_dir}/${member}.o)
endforeach()
# ar names the members .lo; CMake links objects named .o.
set(vexilon_musl_renames "")
foreach(member ${VEXILON_MUSL_MATH_MEMBERS})
    list(APPEND vexilon_musl_renames COMMAND ${CMAKE_COMMAND} -E rename ${member}.lo ${member}.o)
endforeach()
add_custom_command(
    OUTPUT ${VEXILON_MUSL_MATH_OBJECTS}
    COMMAND ${CMAKE_AR} x ${VEXILON_MUSL_LIBC} ${vexilon_musl_archived}
    ${vexilon_musl_renames}
    WORKING_DIRECTORY ${vexilon_musl_dir}
    DEPENDS ${VEXILON_MUSL_LIBC}
    COMMENT "Taking musl's sine and cosine from ${VEXILON_MUSL_LIBC}"
)
set_source_files_properties(${VEXILON_MUSL_MATH_OBJECTS} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
