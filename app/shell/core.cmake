# qm_shell_core: the portable pieces of the shell: the settings record and its defaults, the
# settings file's byte codec and its atomic store, and the block picture's checksum.
add_library(qm_shell_core STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/game_settings.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/block_crc.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/settings_codec.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/settings_store.cpp)
target_include_directories(qm_shell_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(qm_shell_core PUBLIC qm_platform)
