# The install tree and the Debian package, checked as a user's system would see them.
# Both tests install the build tree, so they hold one lock: cmake --install rewrites its manifest.
set(vexilon_has_window $<TARGET_EXISTS:vexilon>)

add_test(NAME install_tree
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/install_tree_test.sh
            ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR} ${vexilon_has_window})
set_tests_properties(install_tree PROPERTIES RESOURCE_LOCK vexilon_install TIMEOUT 300)

add_test(NAME install_bash_completion
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/install_completion_test.sh
            ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR})
set_tests_properties(install_bash_completion PROPERTIES RESOURCE_LOCK vexilon_install TIMEOUT 120)

add_test(NAME deb_packaging
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/deb_packaging_test.sh
            ${CMAKE_CPACK_COMMAND} ${PROJECT_BINARY_DIR} ${vexilon_has_window})
set_tests_properties(deb_packaging PROPERTIES RESOURCE_LOCK vexilon_install TIMEOUT 600 SKIP_RETURN_CODE 77)
