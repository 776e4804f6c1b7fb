# The main window: the skinned frame with the start screen and the exam, and its glyph buttons.
target_sources(zv_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TBitBtn.cpp ${CMAKE_CURRENT_LIST_DIR}/TBitBtn.h
  ${CMAKE_CURRENT_LIST_DIR}/SpeakerAnimation.cpp ${CMAKE_CURRENT_LIST_DIR}/SpeakerAnimation.h
  ${CMAKE_CURRENT_LIST_DIR}/TZVMainForm.cpp ${CMAKE_CURRENT_LIST_DIR}/TZVMainForm.h
  ${CMAKE_CURRENT_LIST_DIR}/TZVMainFormParts.h
  ${CMAKE_CURRENT_LIST_DIR}/TZVMainFormControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TZVMainFormExam.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TZVMainFormFont.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TZVMainFormList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TZVMainFormSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TZVMainFormSound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TZVMainFormTimeLimit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TZVMainFormUpdate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpdateWindowLink.h
  ${CMAKE_CURRENT_LIST_DIR}/WidgetColours.h
)
# The main window draws its tasks and sayings from the built-in bank.
target_link_libraries(zv_ui PUBLIC zv_content)
