# The about window from the main window's button and F1; writes its screenshots to <build>/screens.
zv_add_test(ui_about SOURCES ${CMAKE_CURRENT_LIST_DIR}/AboutFormTest.cpp LIBS zv_ui zv_content Qt6::Test)
target_compile_definitions(ui_about PRIVATE ZV_SCREENS_DIR="${CMAKE_BINARY_DIR}/screens")
