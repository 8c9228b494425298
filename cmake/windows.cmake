# Windows build (MinGW-w64): the core, the shell, Zenvoral.exe and the tests run under Wine.
zv_core(zvcore -O2)
target_compile_definitions(zvcore PUBLIC UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00)

set(WIN_LIBS user32 gdi32 gdiplus comctl32 comdlg32 shell32 shlwapi uxtheme dwmapi wininet urlmon
    bcrypt ole32 oleaut32 advapi32 uuid version)

file(GLOB_RECURSE SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*_win.cpp)
list(FILTER SHELL_SOURCES EXCLUDE REGEX "main_win\\.cpp$")
add_library(zvshell STATIC ${SHELL_SOURCES})
target_link_libraries(zvshell PUBLIC zvcore ${WIN_LIBS})
target_compile_options(zvshell PRIVATE ${ZV_WARN} -O2)

# The icon is drawn by a script at build time.
add_custom_command(OUTPUT ${GEN}/zenvoral.ico
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make_icon.py ${GEN}/zenvoral.ico
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make_icon.py COMMENT "Program icon")
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/zenvoral.rc PROPERTIES
  OBJECT_DEPENDS "${GEN}/zenvoral.ico;${GEN}/images.rc;${CMAKE_SOURCE_DIR}/res/zenvoral.manifest")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${GEN} -I${CMAKE_SOURCE_DIR}/res")

add_executable(Zenvoral WIN32 ${CMAKE_SOURCE_DIR}/src/app/main_win.cpp ${CMAKE_SOURCE_DIR}/res/zenvoral.rc)
target_link_libraries(Zenvoral PRIVATE zvshell)
target_compile_options(Zenvoral PRIVATE ${ZV_WARN} -O2)
target_link_options(Zenvoral PRIVATE -municode -static -s)

# The same program with the next build number, which the update test installs over this one.
# Its own copy of the build number comes first, so the archive's is never linked.
add_executable(ZenvoralNext WIN32 ${CMAKE_SOURCE_DIR}/src/app/main_win.cpp ${CMAKE_SOURCE_DIR}/src/base/version.cpp
               ${CMAKE_SOURCE_DIR}/res/zenvoral.rc)
target_compile_definitions(ZenvoralNext PRIVATE ZV_BUILD_NUMBER=10)
target_link_libraries(ZenvoralNext PRIVATE zvshell)
target_compile_options(ZenvoralNext PRIVATE ${ZV_WARN} -O2)
target_link_options(ZenvoralNext PRIVATE -municode -static -s)

# GoogleTest from Debian's sources, cross-built.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES} ${GEN}/images.rc)
target_link_libraries(win_tests PRIVATE zvshell gtest_main)
target_link_options(win_tests PRIVATE -static)
# One ctest entry per executable: Wine starts once for the whole file.
# The local web server of the tests runs around it (its address in ZV_HTTP).
add_test(NAME win.win_tests COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/e2e/server.py --root ${CMAKE_BINARY_DIR}/site
         --run ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh $<TARGET_FILE:win_tests>)

# Stand-in programs the end-to-end tests run (a fake game, a fake launcher).
file(GLOB E2E_HELPERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
foreach(h ${E2E_HELPERS})
  get_filename_component(n ${h} NAME_WE)
  add_executable(${n} WIN32 ${h})
  target_link_options(${n} PRIVATE -municode -static -s)
  target_link_libraries(${n} PRIVATE shell32 psapi)
endforeach()

# End-to-end: the real program under Wine + Xvfb, driven by Python.
file(GLOB E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
foreach(t ${E2E_TESTS})
  get_filename_component(n ${t} NAME_WE)
  add_test(NAME e2e.${n} COMMAND ${Python3_EXECUTABLE} ${t})
  set_tests_properties(e2e.${n} PROPERTIES
    ENVIRONMENT "ZV_ROOT=${CMAKE_SOURCE_DIR};ZV_BUILD=${CMAKE_BINARY_DIR};ZV_EXE=$<TARGET_FILE:Zenvoral>"
    RESOURCE_LOCK wine TIMEOUT 300)
endforeach()

# A stand-in for the embedded browser's loader library that records what the player asks of it.
add_library(WebView2Loader SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/wv2loader/wv2loader.cpp)
target_include_directories(WebView2Loader PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(WebView2Loader PROPERTIES PREFIX "" OUTPUT_NAME WebView2Loader)
target_compile_definitions(WebView2Loader PRIVATE UNICODE _UNICODE)
target_link_options(WebView2Loader PRIVATE -static -s)
target_link_libraries(WebView2Loader PRIVATE ole32)
