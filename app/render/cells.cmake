# qm_paths: code-page-932 path splitting and joining, shared by the renderer (background
# picture extension) and the shell (program directory, data file paths).
add_library(qm_paths STATIC ${CMAKE_CURRENT_SOURCE_DIR}/path_parts.cpp)
target_include_directories(qm_paths PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(qm_paths PUBLIC qm_platform)

# qm_cells: frame, cells, preview and stripes on the surfaces' bytes.  Only the engine's export
# header is needed (for the board codes), not the engine itself.
add_library(qm_cells STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/cells.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/stripes.cpp)
target_include_directories(qm_cells PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/engine)
target_link_libraries(qm_cells PUBLIC qm_platform)
