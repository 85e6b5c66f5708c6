include(GoogleTest)

if(QM_WIN32)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run)
endif()

# qm_add_test(NAME SOURCES src... [LIBS lib...])
# A GoogleTest program; every test in it becomes a CTest test (listed at test time, so that
# the win32 tree lists them through Wine inside the test run's X server).
function(qm_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 300)
endfunction()

# qm_deliver(target): copies a built deliverable into the program directory dist/.
function(qm_deliver target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${QM_DIST_DIR}/
    VERBATIM)
endfunction()
