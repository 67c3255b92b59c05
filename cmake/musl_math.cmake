# The objects of musl's functions of a formula (sine, cosine, tangent, their inverses, the
# hyperbolic ones, logarithms, exp, pow, hypot), taken from Debian's musl-dev (the C library's static
# archive) into VEXILON_MUSL_MATH_OBJECTS. Linked into the programs, they stand in for glibc's in
# every caller, the shared muparser's too, so a frame's bits are the same on every processor (glibc
# picks other code where the processor has FMA) and in the page, which compiles the same list from
# musl's source (web/libraries.cmake). Exactly rounded helpers (sqrt, fabs, floor, scalbn) and
# memcpy stay glibc's: any library gives the same bits for those.
include(${CMAKE_CURRENT_LIST_DIR}/musl_math_list.cmake)
set(VEXILON_MUSL_MATH_MEMBERS ${VEXILON_MUSL_MATH_FUNCTIONS})
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
    COMMENT "Taking musl's functions of a formula from ${VEXILON_MUSL_LIBC}"
)
set_source_files_properties(${VEXILON_MUSL_MATH_OBJECTS} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
# The core is an archive, from which the linker takes a member only for a name the program's own
# code calls; muparser calls log10, acosh and the rest from its shared library, so each function is
# named to the linker, taken, and given to muparser ahead of glibc's.
set(VEXILON_MUSL_MATH_LINK_OPTIONS "")
foreach(function ${VEXILON_MUSL_MATH_FUNCTIONS})
    if(NOT function MATCHES "^__" AND NOT function MATCHES "_data$")
        list(APPEND VEXILON_MUSL_MATH_LINK_OPTIONS "LINKER:--undefined=${function}")
    endif()
endforeach()
