# Correct-answer and mark windows: their decisions (core) and the windows themselves. The window
# tests write their screenshots to <build>/screens.
zv_add_test(ui_hint_windows SOURCES ${CMAKE_CURRENT_LIST_DIR}/HintWindowsTest.cpp LIBS zv_ui Qt6::Test)
target_compile_definitions(ui_hint_windows PRIVATE ZV_SCREENS_DIR="${CMAKE_BINARY_DIR}/screens")
