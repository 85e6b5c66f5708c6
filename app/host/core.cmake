# qm_host_core: the game host's rules that need no window or thread (speed step, Down-key
# speed-up, key-to-command table, statistics), built in both trees so they run natively.
add_library(qm_host_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/speed_step.cpp
  ${CMAKE_CURRENT_LIST_DIR}/statistics.cpp)
target_include_directories(qm_host_core PUBLIC
  ${CMAKE_CURRENT_LIST_DIR}
  ${CMAKE_SOURCE_DIR}/engine
  ${CMAKE_SOURCE_DIR}/app/render
  ${CMAKE_SOURCE_DIR}/app/pictures
  ${CMAKE_SOURCE_DIR}/app/resources)
target_link_libraries(qm_host_core PUBLIC qm_platform)
