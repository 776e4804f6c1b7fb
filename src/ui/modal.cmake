# The wrapper every modal window is shown through (its test hook is in platform/ModalWindow).
target_sources(zv_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ModalRun.cpp ${CMAKE_CURRENT_LIST_DIR}/ModalRun.h
)
