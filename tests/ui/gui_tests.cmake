# Tests of the window: the dialogs offscreen with Qt Test.

find_package(Qt6 REQUIRED COMPONENTS Test)

# The window reads the gallery of the source tree and its own surfaces from a folder of the build,
# never the user's.
set(VEXILON_GUI_TEST_DATA "${VEXILON_TEST_GALLERY};XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/xdg-data-empty")

foreach(gui_test viewer_dlg_test dialogs_test viewer_random_test viewer_export_test
        viewer_keys_test viewer_hidpi_test viewer_motion_test own_surface_test viewer_view_options_test
        viewer_script_test viewer_params_test own_surface_params_test viewer_heavy_surface_test
        viewer_resize_test viewer_scene_test
        viewer_section_test viewer_refusals_test own_equation_test viewer_presentation_test)
    add_executable(${gui_test} ui/${gui_test}.cpp)
    set_target_properties(${gui_test} PROPERTIES AUTOMOC ON)
    target_include_directories(${gui_test} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${gui_test} PRIVATE vexilon_ui Qt6::Test)
    add_test(NAME ${gui_test} COMMAND ${gui_test})
    set_tests_properties(${gui_test} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${VEXILON_GUI_TEST_DATA}")
endforeach()

# A screen of device pixel ratio 2.
set_tests_properties(viewer_hidpi_test PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2;${VEXILON_GUI_TEST_DATA}")

# The projector's screen, 1920 x 1080.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/projector_screen.json
     "{\"screens\": [{\"name\": \"projector\", \"x\": 0, \"y\": 0, \"width\": 1920, \"height\": 1080, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}\n")
set_tests_properties(viewer_presentation_test PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_BINARY_DIR}/projector_screen.json;${VEXILON_GUI_TEST_DATA}")

# Export compares its files with those of the command line, run in-process.
target_link_libraries(viewer_export_test PRIVATE vexilon_cli)
target_link_libraries(viewer_motion_test PRIVATE vexilon_cli GIF::GIF)
target_link_libraries(viewer_view_options_test PRIVATE vexilon_cli)
target_link_libraries(viewer_resize_test PRIVATE vexilon_cli)
target_link_libraries(viewer_params_test PRIVATE GIF::GIF)
target_link_libraries(viewer_params_test PRIVATE vexilon_cli)
