# The skin of the main window (its geometry lives in src/skin): the rendered artwork, the
# frameless skinned form and the volume bar.
target_sources(zv_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinImage.cpp ${CMAKE_CURRENT_LIST_DIR}/SkinImage.h
  ${CMAKE_CURRENT_LIST_DIR}/SkinCaptionButton.cpp ${CMAKE_CURRENT_LIST_DIR}/SkinCaptionButton.h
  ${CMAKE_CURRENT_LIST_DIR}/SkinnedForm.cpp ${CMAKE_CURRENT_LIST_DIR}/SkinnedForm.h
  ${CMAKE_CURRENT_LIST_DIR}/TTrackBar.cpp ${CMAKE_CURRENT_LIST_DIR}/TTrackBar.h
)

# The artwork, rendered and checked by zvskin at build time; a broken rule stops the build.
# The PNG next to the generated source is there to be looked at.
set(ZV_SKIN_SVG ${CMAKE_SOURCE_DIR}/content/skin/skin.svg)
set(ZV_SKIN_PNG ${CMAKE_CURRENT_BINARY_DIR}/skin.png)
set(ZV_SKIN_CPP ${CMAKE_CURRENT_BINARY_DIR}/SkinArtwork.cpp)
add_custom_command(
  OUTPUT ${ZV_SKIN_PNG} ${ZV_SKIN_CPP}
  COMMAND zvskin ${ZV_SKIN_SVG} ${ZV_SKIN_PNG} ${ZV_SKIN_CPP}
  DEPENDS zvskin ${ZV_SKIN_SVG}
  COMMENT "Rendering and checking the skin"
  VERBATIM)
add_library(zv_skinart STATIC ${ZV_SKIN_CPP} ${CMAKE_CURRENT_LIST_DIR}/SkinArtwork.h)
target_include_directories(zv_skinart PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(zv_ui PUBLIC zv_skinart)
