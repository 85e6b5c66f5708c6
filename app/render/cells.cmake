# qm_cells: frame, cells, preview and stripes on the surfaces' bytes.  Only the engine's export
# header is needed (for the board codes), not the engine itself.
add_library(qm_cells STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/cells.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/stripes.cpp)
target_include_directories(qm_cells PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/engine)
target_link_libraries(qm_cells PUBLIC qm_platform)
