# The program's look through the real main window: one typeface, list heights, disabled controls.
zv_add_test(ui_look SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainLookTest.cpp LIBS zv_ui zv_content Qt6::Test)
