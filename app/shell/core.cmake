# qm_paths: path splitting and joining in the system's ANSI code page, for the program directory,
# the data files' paths and the score script's file filter.
add_library(qm_paths STATIC ${CMAKE_CURRENT_SOURCE_DIR}/path_parts.cpp)
target_include_directories(qm_paths PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(qm_paths PUBLIC qm_platform)

# qm_script_filter: which files a score script may use, the one rule of the game's file filter
# and of qmbasic's confinement.
add_library(qm_script_filter STATIC ${CMAKE_CURRENT_SOURCE_DIR}/script_file_filter.cpp)
target_include_directories(qm_script_filter PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(qm_script_filter PUBLIC qm_platform qm_paths)

# qm_shell_core: the portable pieces of the shell: the settings record and its defaults, the
# settings file's byte codec and its atomic store, the block picture's checksum, number fields
# and the interpreter's messages, the score script's prologue, the version line, the saved
# window's placement.
add_library(qm_shell_core STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/game_settings.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/block_crc.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/settings_codec.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/settings_store.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/number_text.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/interpreter_messages.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/score_prologue.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/version_text.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/window_placement.cpp)
target_include_directories(qm_shell_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(qm_shell_core PUBLIC qm_platform qm_paths qm_script_filter qm_host_core)
