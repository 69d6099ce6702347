# Tests: GoogleTest programs run under Wine by CTest, and a few checks made
# from the Linux side.  Every Windows test needs the "wine" fixture: a
# persistent wineserver for the project's own prefix (a test exe then starts
# in a tenth of a second, and no server inherits CTest's output pipes).

set(TIRVALO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run --prefix ${TIRVALO_WINEPREFIX})

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_test(NAME wine.start COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server --prefix ${TIRVALO_WINEPREFIX}
  start $<TARGET_FILE:wine_warmup>)
add_test(NAME wine.stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server --prefix ${TIRVALO_WINEPREFIX} stop)
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)

# Unit tests link the plug-in's code and the stand-in host.
add_executable(unit_tests
  $<TARGET_OBJECTS:tirvalo_code>
  frame/chartype_table.cpp
  tests/unit/chartype_test.cpp
  tests/unit/text_test.cpp
  tests/unit/frame_test.cpp
  tests/unit/host_test.cpp
  tests/unit/window_probe.cpp
  $<TARGET_OBJECTS:window_dump>
)
target_link_libraries(unit_tests PRIVATE gtest_main korrash_host ${TIRVALO_SYSTEM_LIBS} gdi32)
target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR})
gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES FIXTURES_REQUIRED wine)

# Unit tests of the hotkeys, the settings, loading and the command.
add_executable(console_tests
  $<TARGET_OBJECTS:tirvalo_code>
  tests/unit/hotkeys_test.cpp
  tests/unit/settings_test.cpp
  tests/unit/loading_test.cpp
  tests/unit/command_test.cpp
)
target_link_libraries(console_tests PRIVATE gtest_main korrash_host ${TIRVALO_SYSTEM_LIBS})
target_include_directories(console_tests PRIVATE ${CMAKE_SOURCE_DIR})
gtest_discover_tests(console_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES FIXTURES_REQUIRED wine)

# End-to-end tests run korrash.exe with the built Tirvalo.dll, as a user would.
add_executable(e2e_tests
  tests/e2e/shell_runner.cpp
  tests/e2e/frame_e2e_test.cpp
  tests/e2e/window_switches_e2e_test.cpp
  tests/e2e/command_e2e_test.cpp
  tests/e2e/keystroke_e2e_test.cpp
)
target_link_libraries(e2e_tests PRIVATE gtest_main version)
target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(e2e_tests Tirvalo korrash_shell)
# Expected outputs, beside the test program, byte for byte as in the source.
foreach(data hotkeys-classic.txt hotkeys-extended.txt)
  configure_file(${CMAKE_SOURCE_DIR}/tests/data/${data} ${CMAKE_BINARY_DIR}/bin/testdata/${data} COPYONLY)
endforeach()
gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES FIXTURES_REQUIRED wine)

# What Tirvalo.dll exports and imports, read from the file itself.
add_test(NAME dll.exports_and_imports
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check-dll.sh $<TARGET_FILE:Tirvalo>)

# The launcher, from the Linux side, with the project's prefix and server.
add_test(NAME launcher.runs_commands
  COMMAND ${CMAKE_SOURCE_DIR}/tests/launcher-test.sh)
set_tests_properties(launcher.runs_commands PROPERTIES
  FIXTURES_REQUIRED wine
  ENVIRONMENT "WINEPREFIX=${TIRVALO_WINEPREFIX};TIRVALO_BUILD_DIR=${CMAKE_BINARY_DIR}")

# The hotkey in a real terminal: the interactive shell under tmux.
add_test(NAME terminal.hotkey_at_the_prompt
  COMMAND ${CMAKE_SOURCE_DIR}/tests/terminal-test.sh)
set_tests_properties(terminal.hotkey_at_the_prompt PROPERTIES
  FIXTURES_REQUIRED wine
  ENVIRONMENT "WINEPREFIX=${TIRVALO_WINEPREFIX};TIRVALO_BUILD_DIR=${CMAKE_BINARY_DIR}")

# File information and the information window: the plug-in's code with the
# window template compiled into the test program, the stand-in host, real
# files, registry and windows.  Times are local to a zone with daylight
# saving, in the English (United States) formats.
# What every test program of real files and windows links: the plug-in's
# code with its window template, the window dump, and the shared helpers.
set(WINDOW_TEST_SOURCES
  $<TARGET_OBJECTS:tirvalo_code>
  $<TARGET_OBJECTS:window_dump>
  dialog/Tirvalo.rc
  tests/unit/fileinfo_fixture.cpp
  tests/unit/import_table.cpp
  tests/e2e/shell_runner.cpp
)
add_library(version_sample SHARED tests/unit/data/version_sample.cpp tests/unit/data/version_sample.rc)
add_executable(fileinfo_tests
  ${WINDOW_TEST_SOURCES}
  tests/unit/name_scan_test.cpp
  tests/unit/formatters_test.cpp
  tests/unit/filetype_test.cpp
  tests/unit/info_dialog_test.cpp
  tests/unit/foreground_test.cpp
  tests/unit/show_file_info_test.cpp
  tests/unit/window_dump_test.cpp
)
target_link_libraries(fileinfo_tests PRIVATE gtest_main korrash_host ${TIRVALO_SYSTEM_LIBS} gdi32)
target_include_directories(fileinfo_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(fileinfo_tests version_sample)
gtest_discover_tests(fileinfo_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES FIXTURES_REQUIRED wine
             ENVIRONMENT "TZ=CET-1CEST,M3.5.0,M10.5.0/3;LC_ALL=C.UTF-8")

# The keystroke handler and the word at the cursor: real files and windows,
# modifier keys held for real; and the stand-in shell's key codes checked
# against the plug-in's tables.
add_executable(keystroke_tests
  ${WINDOW_TEST_SOURCES}
  host/keyboard.cpp
  tests/unit/word_at_cursor_test.cpp
  tests/unit/keystroke_test.cpp
  tests/unit/keyboard_test.cpp
)
target_link_libraries(keystroke_tests PRIVATE gtest_main korrash_host ${TIRVALO_SYSTEM_LIBS} gdi32)
target_include_directories(keystroke_tests PRIVATE ${CMAKE_SOURCE_DIR})
gtest_discover_tests(keystroke_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES FIXTURES_REQUIRED wine)

# The native build of the text routines, under the address and
# undefined-behaviour sanitizers: its unit tests, the check that it uses no
# C library, and every fuzz target for a bounded time (scripts/fuzz; longer
# runs: scripts/fuzz --minutes N).
add_test(NAME native.unit_tests COMMAND ${NATIVE_BINARY_DIR}/bin/native_unit_tests)
add_test(NAME native.no_c_library
  COMMAND ${CMAKE_SOURCE_DIR}/tests/native-symbols.sh ${NATIVE_BINARY_DIR}/libproduct_text.a)
include(${CMAKE_SOURCE_DIR}/native/fuzz/targets.cmake)
foreach(target ${FUZZ_TARGETS})
  add_test(NAME native.fuzz.${target} COMMAND ${CMAKE_SOURCE_DIR}/scripts/fuzz --seconds 20 ${target})
  set_tests_properties(native.fuzz.${target} PROPERTIES
    ENVIRONMENT "TIRVALO_BUILD_DIR=${CMAKE_BINARY_DIR}" TIMEOUT 120)
endforeach()

# The second compiler: the DLL and the stand-in shell built with clang give
# the same output as those built with GCC.
add_test(NAME clang_mingw.same_behaviour COMMAND ${CMAKE_SOURCE_DIR}/tests/clang-build-test.sh)
set_tests_properties(clang_mingw.same_behaviour PROPERTIES
  FIXTURES_REQUIRED wine
  ENVIRONMENT "WINEPREFIX=${TIRVALO_WINEPREFIX};TIRVALO_BUILD_DIR=${CMAKE_BINARY_DIR}")

# Static analysis of the product's and the stand-in host's sources.
add_test(NAME lint.cppcheck COMMAND ${CMAKE_SOURCE_DIR}/tests/static-analysis.sh cppcheck)
add_test(NAME lint.clang_tidy COMMAND ${CMAKE_SOURCE_DIR}/tests/static-analysis.sh clang-tidy)
set_tests_properties(lint.clang_tidy PROPERTIES TIMEOUT 600)

# Robustness under Wine: the soak of windows and keystrokes, handles left
# open on any path, the deepest stack, and hostile input.
add_executable(file_locker tests/robustness/file_locker.cpp)
target_compile_options(file_locker PRIVATE -municode)
target_link_options(file_locker PRIVATE -municode)
add_executable(robustness_tests
  ${WINDOW_TEST_SOURCES}
  host/stack_probe.cpp
  tests/robustness/process_counters.cpp
  tests/robustness/window_closer.cpp
  tests/robustness/locked_file.cpp
  tests/robustness/soak_test.cpp
  tests/robustness/leak_test.cpp
  tests/robustness/stack_test.cpp
  tests/robustness/hostile_test.cpp
)
target_link_libraries(robustness_tests PRIVATE gtest_main korrash_host ${TIRVALO_SYSTEM_LIBS}
  gdi32 psapi ntdll)
target_include_directories(robustness_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(robustness_tests version_sample file_locker Tirvalo korrash_shell)
# The directory of 100,000 entries, made from Linux beside bin/ (once: later
# runs find it made), part of the Windows tests' setup.
add_test(NAME many_entries.setup
  COMMAND ${CMAKE_SOURCE_DIR}/tests/make-entries.sh ${CMAKE_BINARY_DIR}/many-entries)
set_tests_properties(many_entries.setup PROPERTIES FIXTURES_SETUP wine)
gtest_discover_tests(robustness_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)

# Every failure, injected: the real Tirvalo.dll with the stand-in host, each
# path run with each call it makes to the platform and the host failing in
# turn (tests/faults/).  Each path is a test of its own, so a fault in the
# plug-in ends one path's process and names the call.
add_executable(fault_injection_tests
  tests/faults/fault_table.cpp
  tests/faults/fault_harness.cpp
  tests/faults/fault_injection_test.cpp
  tests/robustness/process_counters.cpp
  tests/e2e/shell_runner.cpp
)
set_source_files_properties(tests/faults/fault_table.cpp tests/faults/fault_harness.cpp
  tests/faults/fault_injection_test.cpp PROPERTIES COMPILE_OPTIONS "${HOST_CXX_FLAGS}")
target_link_libraries(fault_injection_tests PRIVATE gtest_main korrash_host ${TIRVALO_SYSTEM_LIBS}
  psapi ntdll)
target_include_directories(fault_injection_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(fault_injection_tests Tirvalo version_sample)
gtest_discover_tests(fault_injection_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 180)
