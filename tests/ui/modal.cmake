# The wrapper every modal window is shown through, and its test hook.
zv_add_test(ui_modal SOURCES ${CMAKE_CURRENT_LIST_DIR}/ModalRunTest.cpp LIBS zv_ui Qt6::Test)
