# The presenter of real message boxes (QMessageBox) behind the platform's MessageBox.
target_sources(zv_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxPresenter.cpp ${CMAKE_CURRENT_LIST_DIR}/MessageBoxPresenter.h
)
