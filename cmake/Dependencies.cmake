# libjpeg (6b API) and the test libraries, for whichever tree is being configured.
if(QM_WIN32)
  set(QM_JPEG_PREFIX ${CMAKE_SOURCE_DIR}/.deps/libjpeg-i686)
  if(NOT EXISTS ${QM_JPEG_PREFIX}/lib/libjpeg.a)
    message(FATAL_ERROR "libjpeg for i686 is missing: run scripts/bootstrap")
  endif()
  add_library(qm_jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(qm_jpeg PROPERTIES
    IMPORTED_LOCATION ${QM_JPEG_PREFIX}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${QM_JPEG_PREFIX}/include)
else()
  find_package(JPEG REQUIRED)
  add_library(qm_jpeg INTERFACE IMPORTED GLOBAL)
  target_link_libraries(qm_jpeg INTERFACE JPEG::JPEG)
endif()

# GoogleTest from Debian's sources, built the same way in both trees.
set(gtest_disable_pthreads ${QM_WIN32} CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
if(NOT QM_FUZZ)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

if(NOT QM_WIN32 AND NOT QM_FUZZ)
  find_package(benchmark QUIET)
endif()
