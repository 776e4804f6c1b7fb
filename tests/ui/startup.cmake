# The main window's share of start-up: the progress display it continues and frees.
zv_add_test(ui_main_startup SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainFormStartUpTest.cpp LIBS zv_ui zv_content Qt6::Test)
