# Windows build (MinGW-w64): the portable library, the Win32 layer, the program
# and its test executable, which CTest runs through Wine.
set(WIN32_DEFINES UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00 WINVER=0x0A00)
set(WIN32_LIBS user32 gdi32 comctl32 comdlg32 ole32 oleaut32 shell32 shlwapi uuid rpcrt4 advapi32
    imm32 dwmapi dwrite d2d1 d3d11 dxgi gdiplus winmm windowscodecs shcore oleacc)
# One self-contained exe: no libgcc, libstdc++ or winpthread DLLs beside it.
set(STATIC_LINK -static -static-libgcc -static-libstdc++)

# The portable sources and their Win32 halves call each other, so they make one
# library. The portable half compiles apart only so that its precompiled headers
# leave out <windows.h>, which it must build without.
# The version header and the manifest are made from the project's version.
set(GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/src/base/Version.h.in ${GENERATED_DIR}/base/Version.h @ONLY)
configure_file(${RESOURCE_DIR}/app.manifest.in ${GENERATED_DIR}/app.manifest @ONLY)

add_library(tackaroon_win_portable OBJECT ${PORTABLE_SOURCES})
target_include_directories(tackaroon_win_portable PUBLIC ${CMAKE_SOURCE_DIR}/src ${GENERATED_DIR})
target_compile_definitions(tackaroon_win_portable PUBLIC ${WIN32_DEFINES})
target_link_libraries(tackaroon_win_portable PUBLIC tackaroon_json)
tackaroon_warnings(tackaroon_win_portable)
target_precompile_headers(tackaroon_win_portable PRIVATE ${PORTABLE_PCH})

set(WIN32_PCH <windows.h> <commctrl.h> <richedit.h> <shellapi.h> <wrl/client.h> ${PORTABLE_PCH})
add_library(tackaroon_win STATIC ${WIN_SOURCES})
target_link_libraries(tackaroon_win PUBLIC tackaroon_win_portable ${WIN32_LIBS})
tackaroon_warnings(tackaroon_win)
target_precompile_headers(tackaroon_win PRIVATE ${WIN32_PCH})

set(APP_RC ${RESOURCE_DIR}/resource.rc)
set_source_files_properties(${APP_RC} PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/src/dialogs/DialogIds.h;${GENERATED_DIR}/base/Version.h;${GENERATED_DIR}/app.manifest;${RESOURCE_DIR}/palette.json;${RESOURCE_DIR}/language.json;${RESOURCE_DIR}/figures.json;${RESOURCE_DIR}/defaultGroups.json;${RESOURCE_DIR}/app.ico;${RESOURCE_DIR}/small.ico")

set(APP_DIR ${CMAKE_BINARY_DIR}/app)
add_executable(tackaroon_app WIN32 ${MAIN_SOURCE} ${APP_RC})
set_target_properties(tackaroon_app PROPERTIES OUTPUT_NAME "Tackaroon notes"
    RUNTIME_OUTPUT_DIRECTORY ${APP_DIR})
target_link_libraries(tackaroon_app PRIVATE tackaroon_win)
# No link time in the header, no symbols: the same objects link to the same bytes.
target_link_options(tackaroon_app PRIVATE -municode ${STATIC_LINK} -s -Wl,--no-insert-timestamp)
tackaroon_warnings(tackaroon_app)
add_custom_command(TARGET tackaroon_app POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RESOURCE_DIR}/help.html ${APP_DIR}/help.html)

# The release zip and its SHA-256 (`make dist`), in dist/ of the sources.
add_custom_target(dist COMMAND ${CMAKE_SOURCE_DIR}/tools/make-dist.sh $<TARGET_FILE:tackaroon_app>
                               ${PROJECT_VERSION} ${CMAKE_SOURCE_DIR}/dist
                  DEPENDS tackaroon_app VERBATIM)

# The release zip's entries, the executable's imports, and the same bytes from
# a second link and pack. The link command is read from Ninja.
if(CMAKE_GENERATOR MATCHES "Ninja")
  add_test(NAME release_zip COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/release_check.sh ${CMAKE_BINARY_DIR}
                                    ${PROJECT_VERSION})
endif()

# GoogleTest: from the sources Debian ships, built by the cross compiler; on
# Windows itself (MSYS2) the installed package.
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  tackaroon_test_code(gtest)
else()
  find_package(GTest REQUIRED)
  add_library(gtest ALIAS GTest::gtest)
  add_library(gtest_main ALIAS GTest::gtest_main)
endif()

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*.cpp)
add_executable(tackaroon_win_tests ${WIN_TEST_SOURCES} ${APP_RC})
target_include_directories(tackaroon_win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(tackaroon_win_tests PRIVATE TACKAROON_RESOURCE_DIR="${RESOURCE_DIR}")
target_link_libraries(tackaroon_win_tests PRIVATE tackaroon_win version gtest gtest_main)
target_link_options(tackaroon_win_tests PRIVATE ${STATIC_LINK})
add_dependencies(tackaroon_win_tests tackaroon_app)
tackaroon_warnings(tackaroon_win_tests)
tackaroon_test_code(tackaroon_win_tests)
target_precompile_headers(tackaroon_win_tests PRIVATE <gtest/gtest.h> ${WIN32_PCH})

# Every Wine test runs in a Wine prefix and a headless X server of its own, so
# CTest runs them side by side (`ctest -j`). Each prefix is a fresh copy of one
# set up once by the first test below.
set(WINE_TOOLS ${CMAKE_SOURCE_DIR}/tools)
set(WINE_PREFIXES ${CMAKE_BINARY_DIR}/wineprefixes)
add_test(NAME wine_prefix COMMAND ${WINE_TOOLS}/with-display.sh ${CMAKE_COMMAND} -E env
                                  WINEPREFIX=${WINE_PREFIXES}/seed ${WINE_TOOLS}/wine-prefix.sh)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP winePrefix TIMEOUT 600)
# add_wine_test(NAME [RETRY] COMMAND...): RETRY gives a failed run one more.
function(add_wine_test name)
  cmake_parse_arguments(PARSE_ARGV 1 _wine "RETRY" "" "")
  set(_retry)
  if(_wine_RETRY)
    set(_retry --retry)
  endif()
  add_test(NAME ${name} COMMAND ${WINE_TOOLS}/wine-test.sh ${_retry} ${WINE_PREFIXES}/seed ${WINE_PREFIXES}/${name}
                                ${_wine_UNPARSED_ARGUMENTS})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED winePrefix)
endfunction()

# A test that takes many times as long as the others (a thousand stickies
# opened, a reminder that waits for the next full minute) runs on its own and
# starts first, beside the shards.
set(WINE_SOLO_TESTS ManyNotes.AtMostAThousandOpen QuickAccess.ADueReminderBringsItsStickyForwardUntilEsc)
foreach(_test ${WINE_SOLO_TESTS})
  add_wine_test(windows_${_test} ${WINE_TOOLS}/wine-gtest.sh $<TARGET_FILE:tackaroon_win_tests> --gtest_filter=${_test})
  set_tests_properties(windows_${_test} PROPERTIES TIMEOUT 600 COST 200)
endforeach()

# The rest of the GoogleTest executable runs in shards: GoogleTest deals the
# tests out in turn, so a test added to tests/windows lands in one of them by itself.
set(TACKAROON_WINE_SHARDS 6 CACHE STRING "Shards the Windows GoogleTest executable runs in")
string(REPLACE ";" ":" _solo "${WINE_SOLO_TESTS}")
math(EXPR _lastShard "${TACKAROON_WINE_SHARDS} - 1")
foreach(_shard RANGE ${_lastShard})
  add_wine_test(windows_suite_${_shard} ${WINE_TOOLS}/wine-gtest.sh $<TARGET_FILE:tackaroon_win_tests>
                --gtest_filter=-${_solo})
  set_tests_properties(windows_suite_${_shard} PROPERTIES TIMEOUT 600 COST 100
      ENVIRONMENT "GTEST_TOTAL_SHARDS=${TACKAROON_WINE_SHARDS};GTEST_SHARD_INDEX=${_shard}")
endforeach()

# Start-up figures: run under Wine by `make bench`.
add_executable(bench_startup ${CMAKE_SOURCE_DIR}/bench/windows/startup.cpp ${APP_RC})
target_link_libraries(bench_startup PRIVATE tackaroon_win)
target_link_options(bench_startup PRIVATE -municode ${STATIC_LINK})
tackaroon_benchmark(bench_startup)

# Start-up with a long history of earlier versions: run under Wine by `make bench`.
add_executable(bench_history ${CMAKE_SOURCE_DIR}/bench/windows/history.cpp ${APP_RC})
target_link_libraries(bench_history PRIVATE tackaroon_win)
target_link_options(bench_history PRIVATE -municode ${STATIC_LINK})
tackaroon_benchmark(bench_history)

# End to end: the real program in a Wine virtual desktop, driven with xdotool,
# so these run in the cross build only.
add_executable(bench_closing ${CMAKE_SOURCE_DIR}/bench/windows/closing.cpp ${APP_RC})
target_link_libraries(bench_closing PRIVATE tackaroon_win psapi)
target_link_options(bench_closing PRIVATE -municode ${STATIC_LINK})
tackaroon_benchmark(bench_closing)

add_executable(bench_scribble ${CMAKE_SOURCE_DIR}/bench/windows/scribble.cpp)
target_link_libraries(bench_scribble PRIVATE tackaroon_win)
target_link_options(bench_scribble PRIVATE -municode ${STATIC_LINK})
tackaroon_benchmark(bench_scribble)
add_executable(bench_bodyload ${CMAKE_SOURCE_DIR}/bench/windows/bodyload.cpp)
target_link_libraries(bench_bodyload PRIVATE tackaroon_win psapi)
target_link_options(bench_bodyload PRIVATE -municode ${STATIC_LINK})
tackaroon_benchmark(bench_bodyload)

add_executable(close_app ${CMAKE_SOURCE_DIR}/tests/e2e/close_app.cpp)
target_link_options(close_app PRIVATE -municode ${STATIC_LINK})
add_executable(show_dialog ${CMAKE_SOURCE_DIR}/tests/e2e/show_dialog.cpp ${APP_RC})
target_link_libraries(show_dialog PRIVATE tackaroon_win)
target_link_options(show_dialog PRIVATE -municode ${STATIC_LINK})
add_executable(hold_file ${CMAKE_SOURCE_DIR}/tests/e2e/hold_file.cpp)
target_link_options(hold_file PRIVATE -municode ${STATIC_LINK})
add_executable(close_timing ${CMAKE_SOURCE_DIR}/tests/e2e/close_timing.cpp)
target_link_options(close_timing PRIVATE -municode ${STATIC_LINK})
add_executable(fault_injection ${CMAKE_SOURCE_DIR}/tests/e2e/fault_injection.cpp)
target_link_libraries(fault_injection PRIVATE tackaroon_win)
target_link_options(fault_injection PRIVATE -municode ${STATIC_LINK})
if(CMAKE_CROSSCOMPILING)
  # Once in about eight runs beside every other Wine test, a dialog's desktop
  # process ended before its window was found; the cause is not known yet.
  add_wine_test(dialogs_end_to_end RETRY bash ${CMAKE_SOURCE_DIR}/tests/e2e/dialogs_e2e.sh ${APP_DIR}
                $<TARGET_FILE:show_dialog> ${CMAKE_BINARY_DIR}/artifacts)
  set_tests_properties(dialogs_end_to_end PROPERTIES TIMEOUT 300 COST 50)
  foreach(_e2e sticky rules scribble menus drawing quick history)
    set(_retry)
    if(_e2e STREQUAL scribble)
      # On a loaded machine its stroke can come before the drawing layer takes it.
      set(_retry RETRY)
    elseif(_e2e STREQUAL quick)
      # Once beside every other Wine test on a loaded machine its virtual
      # desktop did not open within two minutes, before the program started.
      set(_retry RETRY)
    endif()
    add_wine_test(${_e2e}_end_to_end ${_retry} bash ${CMAKE_SOURCE_DIR}/tests/e2e/${_e2e}_e2e.sh ${APP_DIR}
                  $<TARGET_FILE:close_app> ${CMAKE_BINARY_DIR}/artifacts)
    set_tests_properties(${_e2e}_end_to_end PROPERTIES TIMEOUT 180)
  endforeach()
  add_wine_test(dpi_end_to_end bash ${CMAKE_SOURCE_DIR}/tests/e2e/dpi_e2e.sh ${APP_DIR} $<TARGET_FILE:close_app>
                $<TARGET_FILE:show_dialog> $<TARGET_FILE:tackaroon_win_tests> ${CMAKE_BINARY_DIR}/artifacts)
  # About as long as a shard: it starts with them, not among the short scripts at the end.
  set_tests_properties(dpi_end_to_end PROPERTIES TIMEOUT 600 COST 100)
  add_wine_test(sync_end_to_end bash ${CMAKE_SOURCE_DIR}/tests/e2e/sync_e2e.sh ${APP_DIR}
                $<TARGET_FILE:close_app> $<TARGET_FILE:hold_file> ${CMAKE_BINARY_DIR}/artifacts)
  set_tests_properties(sync_end_to_end PROPERTIES TIMEOUT 600)
  add_wine_test(hard_kills bash ${CMAKE_SOURCE_DIR}/tests/e2e/faults_e2e.sh ${APP_DIR}
                $<TARGET_FILE:fault_injection> 8 1 ${CMAKE_BINARY_DIR}/artifacts)
  set_tests_properties(hard_kills PROPERTIES TIMEOUT 300)
endif()
