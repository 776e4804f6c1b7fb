# Task list window and the exam protocol view: the renderer and the window (both widgets-side).
target_sources(zv_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ProtocolView.cpp ${CMAKE_CURRENT_LIST_DIR}/ProtocolView.h
  ${CMAKE_CURRENT_LIST_DIR}/TAidForm.cpp ${CMAKE_CURRENT_LIST_DIR}/TAidForm.h
)
