# Tests of the window: the view controls without Qt, the dialogs offscreen with Qt Test.

add_executable(view_controls_tests view_controls_test.cpp)
target_link_libraries(view_controls_tests PRIVATE vexilon_view_controls GTest::gtest_main)
gtest_discover_tests(view_controls_tests)
