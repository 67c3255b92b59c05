# Installation of both programs: binaries, desktop integration, manual pages, bash completion and
# the licence. The Debian package is built from debian/ with dpkg-buildpackage.
include(GNUInstallDirs)

install(TARGETS vexilon-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET vexilon)
    install(TARGETS vexilon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(vexilon_res ${PROJECT_SOURCE_DIR}/res)
set(vexilon_app_id org.vexilon.Vexilon)   # the desktop file, the AppStream id and the icon share it

# Desktop integration: the entry, the AppStream metadata and the icon in the hicolor theme.
# The screenshots are the ones in res/, as published under this address.
set(VEXILON_MEDIA_URL "https://vexilon.invalid/res" CACHE STRING
    "Where the files of res/ are published, for the screenshots of the AppStream metadata")
configure_file(${vexilon_res}/${vexilon_app_id}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/res/${vexilon_app_id}.metainfo.xml @ONLY)
install(FILES ${vexilon_res}/${vexilon_app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/res/${vexilon_app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${vexilon_res}/icons/vexilon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${vexilon_app_id}.svg)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${vexilon_res}/icons/hicolor/${size}x${size}/apps/vexilon.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${vexilon_app_id}.png)
endforeach()

# Manual pages in English and Spanish, the version filled in and gzipped at build time as Debian
# wants them; -n keeps the archive free of names and dates.
find_program(VEXILON_GZIP gzip REQUIRED)
set(vexilon_man_outputs "")
foreach(lang . es)   # "." is English, the pages without a language
    foreach(page vexilon.1 vexilon-render.1)
        cmake_path(SET dir NORMALIZE ${PROJECT_BINARY_DIR}/man/${lang})
        cmake_path(SET dest NORMALIZE ${CMAKE_INSTALL_MANDIR}/${lang}/man1)
        configure_file(${vexilon_res}/man/${lang}/${page}.in ${dir}/${page} @ONLY)
        add_custom_command(OUTPUT ${dir}/${page}.gz
            COMMAND ${VEXILON_GZIP} -9 -n -c ${dir}/${page} > ${dir}/${page}.gz
            DEPENDS ${dir}/${page}
            COMMENT "Compressing the manual page ${lang}/${page}"
            VERBATIM)
        list(APPEND vexilon_man_outputs ${dir}/${page}.gz)
        install(FILES ${dir}/${page}.gz DESTINATION ${dest})
    endforeach()
endforeach()
add_custom_target(vexilon_man_pages ALL DEPENDS ${vexilon_man_outputs})

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

# The licence, once; the Debian package carries it in debian/copyright instead.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The gallery of surfaces, where the programs look for it: share/vexilon/ beside their bin/.
install(FILES res/gallery.toml DESTINATION ${CMAKE_INSTALL_DATADIR}/vexilon)
install(FILES ${PROJECT_BINARY_DIR}/locale/es/LC_MESSAGES/vexilon-render.mo
        DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/es/LC_MESSAGES)
