# The install tree, the manual pages and the Debian packaging, checked as a user's system would see them.
# Both install tests install the build tree, so they hold one lock: cmake --install rewrites its manifest.
set(vexilon_has_window $<TARGET_EXISTS:vexilon>)

add_test(NAME install_tree
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/packaging/install_tree_test.sh
            ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR} ${vexilon_has_window} ${PROJECT_VERSION})
set_tests_properties(install_tree PROPERTIES RESOURCE_LOCK vexilon_install TIMEOUT 300)

add_test(NAME install_bash_completion
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/packaging/install_completion_test.sh
            ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR})
set_tests_properties(install_bash_completion PROPERTIES RESOURCE_LOCK vexilon_install TIMEOUT 120)

add_test(NAME man_pages_document_every_option
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/packaging/man_options_test.sh $<TARGET_FILE:vexilon-render>
            ${PROJECT_BINARY_DIR}/man/vexilon-render.1 ${PROJECT_BINARY_DIR}/man/es/vexilon-render.1)

add_test(NAME packaging_version_matches_project
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/packaging/packaging_version_test.sh
            ${PROJECT_SOURCE_DIR}/debian/changelog ${PROJECT_VERSION})
