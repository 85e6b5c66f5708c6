# The Windows edge of the renderer: GDI surfaces, painting and the background.
add_library(qm_render_win32 STATIC
  ${CMAKE_CURRENT_LIST_DIR}/surfaces.cpp
  ${CMAKE_CURRENT_LIST_DIR}/background.cpp)
target_include_directories(qm_render_win32 PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(qm_render_win32 PUBLIC qm_cells qm_pictures qm_platform gdi32 user32)
