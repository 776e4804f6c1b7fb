# The skin: region builder (core), the renderer's rules (build tool), the skinned form and the
# volume bar (windows). The window tests write their screenshots to <build>/screens.
zv_add_test(tools_skin_render
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinRenderTest.cpp ${CMAKE_CURRENT_LIST_DIR}/SkinTestApp.cpp
  LIBS zv_skinrender)
target_compile_definitions(tools_skin_render PRIVATE ZV_SKIN_SVG="${CMAKE_SOURCE_DIR}/content/skin/skin.svg"
                                                     ZV_SKIN_GUI_APP=1)
zv_add_test(ui_skin
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinnedFormTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TTrackBarTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/SkinTestApp.cpp
  LIBS zv_ui Qt6::Test)
target_compile_definitions(ui_skin PRIVATE ZV_SCREENS_DIR="${CMAKE_BINARY_DIR}/screens")
