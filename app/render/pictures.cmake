# Picture readers (BMP, JPEG) and the resampler: library qm_pictures, portable.
add_library(qm_pictures STATIC
  ${CMAKE_CURRENT_LIST_DIR}/picture_buffer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmp_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmp_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_errors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/prefilter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bicubic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filter_pass.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filter_pass_wide.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picture_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/row_planes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmp_stream.cpp)
target_include_directories(qm_pictures PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(qm_pictures PUBLIC qm_platform qm_jpeg PRIVATE qm_threads)

# The resampler is defined in double precision.  i686 code would otherwise compute on the x87
# unit in extended precision, whose results depend on register spills; SSE2 arithmetic is plain
# double, the same as the host tree's.  Whoever tests the resampler compiles with the same.
# (A cache entry, so the test directories see it too.)
if(QM_WIN32)
  set(QM_PICTURES_DOUBLE_FLAGS -msse2 -mfpmath=sse CACHE INTERNAL "")
else()
  set(QM_PICTURES_DOUBLE_FLAGS "" CACHE INTERNAL "")
endif()
target_compile_options(qm_pictures PRIVATE ${QM_PICTURES_DOUBLE_FLAGS})
# The prefilter's tap loops handle several pixels per instruction once GCC may weigh the cost
# of a remainder loop (-O2 alone vectorises only loops without one).  Each pixel's sum keeps
# its order, so results do not change.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/prefilter.cpp PROPERTIES
  COMPILE_OPTIONS "$<$<CXX_COMPILER_ID:GNU>:-fvect-cost-model=dynamic>")
# The streaming fit must reproduce those bytes: no multiply-add fused into one rounding, in
# its exact fallback or anywhere its error bound was worked out for separate roundings.
set_source_files_properties(
  ${CMAKE_CURRENT_LIST_DIR}/filter_pass.cpp ${CMAKE_CURRENT_LIST_DIR}/picture_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bicubic.cpp
  PROPERTIES COMPILE_OPTIONS -ffp-contract=off)
# The AVX2 sums: only this file may use AVX2 instructions; it runs only where the processor
# has them.  (Integer arithmetic: the results do not depend on the vector width.)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/filter_pass_wide.cpp
  PROPERTIES COMPILE_OPTIONS "-mavx2;-ffp-contract=off")

# Fuzz tree: the readers are what the fuzz targets explore, so they carry coverage and the
# address and undefined-behaviour checks too; whatever else links them (the tools) takes the
# checkers' runtime with them.
if(QM_FUZZ)
  target_compile_options(qm_pictures PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(qm_pictures INTERFACE -fsanitize=address,undefined)
endif()
