# The main window's update button and automatic check's timer, with a recording link.
zv_add_test(ui_main_update SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainFormUpdateTest.cpp LIBS zv_ui zv_content Qt6::Test)
