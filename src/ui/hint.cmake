# Correct-answer window and mark window (their decisions live in src/exam).
target_sources(zv_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TCommentForm.cpp ${CMAKE_CURRENT_LIST_DIR}/TCommentForm.h
  ${CMAKE_CURRENT_LIST_DIR}/HintGlyphs.cpp ${CMAKE_CURRENT_LIST_DIR}/HintGlyphs.h
  ${CMAKE_CURRENT_LIST_DIR}/THintForm.cpp ${CMAKE_CURRENT_LIST_DIR}/THintForm.h
  ${CMAKE_CURRENT_LIST_DIR}/TMarkForm.cpp ${CMAKE_CURRENT_LIST_DIR}/TMarkForm.h
  ${CMAKE_CURRENT_LIST_DIR}/SoundEndNotice.h
)
