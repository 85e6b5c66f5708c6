# quillomar.exe and the Windows edge of the shell.  The edge is a library of its own so that
# the win32 tests can drive the window, commands and settings file directly.
add_library(qm_shell_win32 STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dialog_items.cpp
  ${CMAKE_CURRENT_LIST_DIR}/game_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/interpreter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/number_field.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/score_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/score_script.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_dialog_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_dialog_tools.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/version_panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_position.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_setup.cpp)
target_include_directories(qm_shell_win32 PUBLIC ${CMAKE_CURRENT_LIST_DIR})
# The Version command calls InfoPanel.dll through its import library.
target_link_libraries(qm_shell_win32 PUBLIC qm_shell_core qm_host_win32 qm_render_win32 qm_paths
                      InfoPanel qm_screen_text comctl32 comdlg32 imm32 shell32 gdi32 user32)

add_executable(quillomar WIN32 ${CMAKE_CURRENT_LIST_DIR}/winmain.cpp)
target_link_libraries(quillomar PRIVATE qm_shell_win32 qm_resources qm_program_resources)
add_dependencies(quillomar qm_block_picture)
qm_deliver(quillomar)
