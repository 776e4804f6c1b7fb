# The presenter of real message boxes (QMessageBox) behind the platform's MessageBox: a library
# of its own, so the uninstaller shows the same boxes without linking the trainer's windows.
add_library(zv_msgbox STATIC
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxPresenter.cpp ${CMAKE_CURRENT_LIST_DIR}/MessageBoxPresenter.h
)
target_link_libraries(zv_msgbox PUBLIC zv_core Qt6::Widgets)
target_link_libraries(zv_ui PUBLIC zv_msgbox)
