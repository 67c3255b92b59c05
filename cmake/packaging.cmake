# Installation and packaging of both programs: binaries, desktop integration, manual pages and the .deb.
include(GNUInstallDirs)

install(TARGETS vexilon-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET vexilon)
    install(TARGETS vexilon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(vexilon_res ${PROJECT_SOURCE_DIR}/res)

# Desktop integration: the entry, the AppStream metadata and the icon in the hicolor theme.
install(FILES ${vexilon_res}/org.vexilon.Vexilon.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${vexilon_res}/org.vexilon.Vexilon.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${vexilon_res}/icons/vexilon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${vexilon_res}/icons/hicolor/${size}x${size}/apps/vexilon.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages, gzipped at build time as Debian wants them; -n keeps the archive free of dates.
find_program(VEXILON_GZIP gzip REQUIRED)
set(vexilon_man_pages vexilon.1 vexilon-render.1)
set(vexilon_man_outputs "")
foreach(page IN LISTS vexilon_man_pages)
    set(out ${PROJECT_BINARY_DIR}/man/${page}.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
        COMMAND ${VEXILON_GZIP} -9 -n -c ${vexilon_res}/man/${page} > ${out}
        DEPENDS ${vexilon_res}/man/${page}
        COMMENT "Compressing the manual page ${page}"
        VERBATIM)
    list(APPEND vexilon_man_outputs ${out})
endforeach()
add_custom_target(vexilon_man_pages ALL DEPENDS ${vexilon_man_outputs})
install(FILES ${vexilon_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Bash completion: where bash-completion's pkg-config file says, taken relative to its prefix so
# that the path follows ours; the same path under our prefix when bash-completion is absent.
set(vexilon_completions_dir ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
    pkg_get_variable(vexilon_bc_prefix bash-completion prefix)
    pkg_get_variable(vexilon_bc_dir bash-completion completionsdir)
    if(vexilon_bc_prefix AND vexilon_bc_dir MATCHES "^${vexilon_bc_prefix}/(.+)$")
        set(vexilon_completions_dir ${CMAKE_MATCH_1})
    endif()
endif()
set(VEXILON_BASH_COMPLETION_DIR ${vexilon_completions_dir} CACHE STRING
    "Where the bash completion of vexilon-render goes, relative to the install prefix")
install(FILES ${vexilon_res}/completion/vexilon-render DESTINATION ${VEXILON_BASH_COMPLETION_DIR})

# The licence; Debian looks for it under the name copyright.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

# The Debian package: `cpack -G DEB` in the build tree writes vexilon_2.0-1_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexilon)
set(CPACK_PACKAGE_VENDOR "Vexilon developers")
set(CPACK_PACKAGE_CONTACT "Vexilon developers <dev@vexilon.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer of classical parametric surfaces as wireframes")
# One line of the package's description per line here; CPack indents them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Vexilon draws eight classical surfaces of three-dimensional geometry as"
    "perspective wireframes: the Moebius strip, the saddle, the sphere, the sine"
    "surface, the torus, the pseudosphere, the spiral staircase and Leonardo's"
    "double staircase. A window lets the user orbit the eye with the mouse, zoom,"
    "and change the strength of the perspective; the command line vexilon-render"
    "draws the same frames to PNG, SVG or a text trace."
    ""
    "The user interface is in Spanish.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vexilon developers <dev@vexilon.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debian wants a changelog in the package's doc folder; it goes into the .deb only, not into a
# plain install, added to the staged tree just before it is packed.
set(vexilon_deb_changelog "vexilon (${PROJECT_VERSION}-1) unstable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- Vexilon developers <dev@vexilon.invalid>  Tue, 08 Dec 2026 00:00:00 +0000
")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/deb_changelog.cmake CONTENT [[
set(doc "${CPACK_TEMPORARY_INSTALL_DIRECTORY}@CPACK_PACKAGING_INSTALL_PREFIX@/@CMAKE_INSTALL_DOCDIR@")
file(WRITE "${doc}/changelog.Debian" [==[@vexilon_deb_changelog@]==])
execute_process(COMMAND "@VEXILON_GZIP@" -9 -n -f "${doc}/changelog.Debian" COMMAND_ERROR_IS_FATAL ANY)
]] @ONLY)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_BINARY_DIR}/deb_changelog.cmake)
# dpkg-shlibdeps (dpkg-dev) turns the libraries the programs link into the Depends line.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET vexilon)
    # No library links the platform plugins, yet the window cannot open without them; Qt's own
    # Spanish translations give its standard dialogs the language of the rest of the program.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
endif()
include(CPack)

# The gallery of surfaces, where the programs look for it: share/vexilon/ beside their bin/.
install(FILES res/gallery.toml DESTINATION ${CMAKE_INSTALL_DATADIR}/vexilon)
