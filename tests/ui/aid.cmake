# Task list window: the protocol renderer and the protocol view. The window test writes its
# screenshot to <build>/screens.
zv_add_test(ui_aid SOURCES ${CMAKE_CURRENT_LIST_DIR}/AidFormTest.cpp LIBS zv_ui Qt6::Test)
target_compile_definitions(ui_aid PRIVATE ZV_SCREENS_DIR="${CMAKE_BINARY_DIR}/screens")
# The task list with its search and the tricks with the progress; screenshots to <build>/screens.
zv_add_test(ui_task_list SOURCES ${CMAKE_CURRENT_LIST_DIR}/TaskListFormTest.cpp LIBS zv_ui zv_content Qt6::Test)
target_compile_definitions(ui_task_list PRIVATE ZV_SCREENS_DIR="${CMAKE_BINARY_DIR}/screens")
# The progress file saved by the list, added by zvregedit and read by the real trainer; the
# file stays in <build>/test-artifacts/export.
zv_add_test(ui_progress_round_trip SOURCES ${CMAKE_CURRENT_LIST_DIR}/TaskListRoundTripTest.cpp
  LIBS zv_ui zv_content zv_instance Qt6::Test)
add_dependencies(ui_progress_round_trip zorvik zvregedit)
target_compile_definitions(ui_progress_round_trip PRIVATE
  ZV_TRAINER="$<TARGET_FILE:zorvik>" ZV_REGEDIT="$<TARGET_FILE:zvregedit>"
  ZV_EXPORT_DIR="${CMAKE_BINARY_DIR}/test-artifacts/export")
