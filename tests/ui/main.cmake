# The main window through its real widgets; writes its screenshots to <build>/screens.
zv_add_test(ui_main SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainFormTest.cpp LIBS zv_ui zv_content Qt6::Test)
target_compile_definitions(ui_main PRIVATE ZV_SCREENS_DIR="${CMAKE_BINARY_DIR}/screens")
zv_add_test(ui_speaker SOURCES ${CMAKE_CURRENT_LIST_DIR}/SpeakerAnimationTest.cpp LIBS zv_ui Qt6::Test)
target_compile_definitions(ui_speaker PRIVATE ZV_SCREENS_DIR="${CMAKE_BINARY_DIR}/screens")
