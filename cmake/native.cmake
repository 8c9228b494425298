# Native build: the core with sanitizers, its unit tests, the data checks and the benchmarks.
set(SAN -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
zv_core(zvcore ${SAN})
target_link_options(zvcore PUBLIC ${SAN})

find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
if(NOT ZV_HAVE_LIBRARY)
  list(FILTER UNIT_SOURCES EXCLUDE REGEX "builtin_data_test\\.cpp$")
endif()
add_executable(unit_tests ${UNIT_SOURCES})
target_link_libraries(unit_tests PRIVATE zvcore GTest::gtest_main)
target_compile_options(unit_tests PRIVATE ${ZV_WARN} ${SAN})
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

# Python checks: data generators and the layering rule.
file(GLOB PY_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/test_*.py)
foreach(t ${PY_TESTS})
  get_filename_component(n ${t} NAME_WE)
  add_test(NAME py.${n} COMMAND ${Python3_EXECUTABLE} ${t})
  set_tests_properties(py.${n} PROPERTIES ENVIRONMENT "ZV_ROOT=${CMAKE_SOURCE_DIR}")
endforeach()

# Share codes against an independent encoder and decoder written in Python.
add_executable(share_tool ${CMAKE_SOURCE_DIR}/tests/interop/share_tool.cpp)
target_link_libraries(share_tool PRIVATE zvcore)
target_compile_options(share_tool PRIVATE ${ZV_WARN} ${SAN})
add_test(NAME py.share_interop COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/interop/test_share_interop.py $<TARGET_FILE:share_tool>)

# Benchmarks: the core again, without sanitizers, optimised.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  zv_core(zvcore_bench -O2)
  file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  if(BENCH_SOURCES)
    add_executable(zv_bench ${BENCH_SOURCES})
    target_compile_options(zv_bench PRIVATE -O2)
    target_link_libraries(zv_bench PRIVATE zvcore_bench benchmark::benchmark)
  endif()
endif()

# The search compared with the libraries web tools use (bench/search_peers/run.py drives it).
if(benchmark_FOUND)
  add_executable(search_peers ${CMAKE_SOURCE_DIR}/bench/search_peers/search_peers.cpp)
  target_compile_options(search_peers PRIVATE -O2)
  target_link_libraries(search_peers PRIVATE zvcore_bench)
endif()
