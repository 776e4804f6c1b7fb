# What every window shares in its look: the program font, the drop-down list height.
target_sources(zv_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ProgramLook.cpp ${CMAKE_CURRENT_LIST_DIR}/ProgramLook.h
)
