# The presenter of real message boxes (QMessageBox) behind the platform's MessageBox: a small
# library of its own, so that a program without the trainer's windows (zvregedit) can show boxes.
add_library(zv_messagebox STATIC
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxPresenter.cpp ${CMAKE_CURRENT_LIST_DIR}/MessageBoxPresenter.h
)
target_link_libraries(zv_messagebox PUBLIC zv_core Qt6::Widgets)
target_link_libraries(zv_ui PUBLIC zv_messagebox)
