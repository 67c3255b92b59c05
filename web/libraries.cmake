# The libraries of the WebAssembly build, compiled from the sources of the very Debian packages the
# native build links (unpacked by web/fetch_sources.sh into VEXILON_WEB_SOURCES). toml++ is
# header-only: its Debian headers are used as they are.
set(VEXILON_WEB_SOURCES "${PROJECT_BINARY_DIR}/sources" CACHE PATH "Debian sources unpacked for the web build")
foreach(library muparser giflib libpng zlib musl)
    if(NOT EXISTS "${VEXILON_WEB_SOURCES}/${library}")
        message(FATAL_ERROR "No ${library} sources in ${VEXILON_WEB_SOURCES}: run web/fetch_sources.sh first")
    endif()
endforeach()

enable_language(C)   # zlib, libpng and giflib are C

# Third-party code keeps its own warnings: ours stay errors.
set(vexilon_quiet -w)
# Third-party code off the frame's path is compiled for size: the page's files stay under 1 MB.
set(vexilon_small -Os)

set(src "${VEXILON_WEB_SOURCES}/muparser")
add_library(web_muparser STATIC
    ${src}/src/muParser.cpp ${src}/src/muParserBase.cpp ${src}/src/muParserBytecode.cpp
    ${src}/src/muParserCallback.cpp ${src}/src/muParserError.cpp ${src}/src/muParserInt.cpp
    ${src}/src/muParserTokenReader.cpp)
target_include_directories(web_muparser SYSTEM PUBLIC ${src}/include)
target_compile_definitions(web_muparser PUBLIC MUPARSER_STATIC)
target_compile_options(web_muparser PRIVATE ${vexilon_quiet} ${vexilon_small})
add_library(muparser::muparser ALIAS web_muparser)

# toml++ alone from /usr/include: a folder holding only it, so no host header can come along.
file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/toml-include")
file(CREATE_LINK /usr/include/toml++ "${PROJECT_BINARY_DIR}/toml-include/toml++" SYMBOLIC)
add_library(web_tomlplusplus INTERFACE)
target_include_directories(web_tomlplusplus SYSTEM INTERFACE "${PROJECT_BINARY_DIR}/toml-include")
add_library(tomlplusplus::tomlplusplus ALIAS web_tomlplusplus)

set(src "${VEXILON_WEB_SOURCES}/zlib")
add_library(web_zlib STATIC
    ${src}/adler32.c ${src}/compress.c ${src}/crc32.c ${src}/deflate.c ${src}/infback.c
    ${src}/inffast.c ${src}/inflate.c ${src}/inftrees.c ${src}/trees.c ${src}/uncompr.c ${src}/zutil.c)
target_include_directories(web_zlib SYSTEM PUBLIC ${src})
target_compile_options(web_zlib PRIVATE ${vexilon_quiet} ${vexilon_small})

set(src "${VEXILON_WEB_SOURCES}/libpng")
configure_file(${src}/scripts/pnglibconf.h.prebuilt "${PROJECT_BINARY_DIR}/png-include/pnglibconf.h" COPYONLY)
add_library(web_png STATIC
    ${src}/png.c ${src}/pngerror.c ${src}/pngget.c ${src}/pngmem.c ${src}/pngpread.c ${src}/pngread.c
    ${src}/pngrio.c ${src}/pngrtran.c ${src}/pngrutil.c ${src}/pngset.c ${src}/pngtrans.c
    ${src}/pngwio.c ${src}/pngwrite.c ${src}/pngwtran.c ${src}/pngwutil.c)
target_include_directories(web_png SYSTEM PUBLIC ${src} "${PROJECT_BINARY_DIR}/png-include")
target_compile_definitions(web_png PRIVATE PNG_ARM_NEON_OPT=0 PNG_INTEL_SSE_OPT=0)
target_compile_options(web_png PRIVATE ${vexilon_quiet} ${vexilon_small})
target_link_libraries(web_png PUBLIC web_zlib)
add_library(PNG::PNG ALIAS web_png)

set(src "${VEXILON_WEB_SOURCES}/giflib")
add_library(web_gif STATIC
    ${src}/dgif_lib.c ${src}/egif_lib.c ${src}/gif_err.c ${src}/gif_hash.c ${src}/gifalloc.c
    ${src}/openbsd-reallocarray.c)
target_include_directories(web_gif SYSTEM PUBLIC ${src})
target_compile_options(web_gif PRIVATE ${vexilon_quiet} ${vexilon_small})
add_library(GIF::GIF ALIAS web_gif)

# The functions of a formula from Debian's musl source, the very list the native programs take
# from musl-dev (cmake/musl_math.cmake).
include(${PROJECT_SOURCE_DIR}/cmake/musl_math_list.cmake)
set(src "${VEXILON_WEB_SOURCES}/musl")
list(TRANSFORM VEXILON_MUSL_MATH_FUNCTIONS PREPEND "${src}/src/math/" OUTPUT_VARIABLE vexilon_musl_sources)
list(TRANSFORM vexilon_musl_sources APPEND ".c")
add_library(web_musl_math STATIC ${vexilon_musl_sources})
target_include_directories(web_musl_math PRIVATE ${src}/src/internal ${src}/arch/generic)
target_compile_definitions(web_musl_math PRIVATE "hidden=__attribute__((visibility(\"hidden\")))")
target_compile_options(web_musl_math PRIVATE ${vexilon_quiet})
