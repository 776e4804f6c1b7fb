# Correct-answer window and mark window: their decisions in core, the windows in zv_ui.
target_sources(zv_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/HintPhrases.cpp ${CMAKE_CURRENT_LIST_DIR}/HintPhrases.h
  ${CMAKE_CURRENT_LIST_DIR}/HintLayout.cpp ${CMAKE_CURRENT_LIST_DIR}/HintLayout.h
  ${CMAKE_CURRENT_LIST_DIR}/MarkLook.cpp ${CMAKE_CURRENT_LIST_DIR}/MarkLook.h
)
target_sources(zv_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TCommentForm.cpp ${CMAKE_CURRENT_LIST_DIR}/TCommentForm.h
  ${CMAKE_CURRENT_LIST_DIR}/HintGlyphs.cpp ${CMAKE_CURRENT_LIST_DIR}/HintGlyphs.h
  ${CMAKE_CURRENT_LIST_DIR}/THintForm.cpp ${CMAKE_CURRENT_LIST_DIR}/THintForm.h
  ${CMAKE_CURRENT_LIST_DIR}/TMarkForm.cpp ${CMAKE_CURRENT_LIST_DIR}/TMarkForm.h
)
