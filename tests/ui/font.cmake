# The font window from the main window's popup menu; writes its screenshots to <build>/screens.
zv_add_test(ui_font SOURCES ${CMAKE_CURRENT_LIST_DIR}/FontFormTest.cpp LIBS zv_ui zv_content Qt6::Test)
target_compile_definitions(ui_font PRIVATE ZV_SCREENS_DIR="${CMAKE_BINARY_DIR}/screens")
