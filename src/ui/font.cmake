# The font window and its typeface combo box (the task list window uses the combo too).
target_sources(zv_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TXFontComboBox.cpp ${CMAKE_CURRENT_LIST_DIR}/TXFontComboBox.h
  ${CMAKE_CURRENT_LIST_DIR}/TFontForm.cpp ${CMAKE_CURRENT_LIST_DIR}/TFontForm.h
)
