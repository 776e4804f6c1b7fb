# The about window and the shell's "open" it hands its links to.
target_sources(zv_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TAboutForm.cpp ${CMAKE_CURRENT_LIST_DIR}/TAboutForm.h
  ${CMAKE_CURRENT_LIST_DIR}/ShellOpen.cpp ${CMAKE_CURRENT_LIST_DIR}/ShellOpen.h
  ${CMAKE_CURRENT_LIST_DIR}/TZVMainFormAbout.cpp
)
