# Tests: GoogleTest programs run under Wine by CTest, and a few checks made
# from the Linux side.  Every Windows test needs the "wine" fixture: a
# persistent wineserver for each lane's prefix (a test exe then starts in a
# tenth of a second, and no server inherits CTest's output pipes), and one
# lane of its own (the resource "wine"; scripts/lib.sh says what a lane is).

set(TIRVALO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run --prefix ${TIRVALO_WINEPREFIX})

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# The test programs build fast: little optimisation, no debug information, and
# one precompiled header of the platform's and GoogleTest's headers, which
# every test source shares.  The plug-in's objects keep the product's flags.
# (-O1, not -O0: at -O0 clang emits type_info::operator== out of line, which
# the static C++ library defines as well.)
set(TEST_CXX_FLAGS -O1 -g0)
target_compile_options(gtest PRIVATE ${TEST_CXX_FLAGS})
target_compile_options(gtest_main PRIVATE ${TEST_CXX_FLAGS})
add_library(test_headers STATIC tests/test_headers.cpp)
target_compile_options(test_headers PRIVATE ${TEST_CXX_FLAGS})
target_link_libraries(test_headers PRIVATE gtest)
target_precompile_headers(test_headers PRIVATE <windows.h> <gtest/gtest.h> <string> <vector>)
# Makes target a test program of that kind.
function(tirvalo_test_program target)
  target_compile_options(${target} PRIVATE ${TEST_CXX_FLAGS})
  target_precompile_headers(${target} REUSE_FROM test_headers)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()

add_test(NAME wine.start COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server start $<TARGET_FILE:wine_warmup>)
add_test(NAME wine.stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server stop)
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "TIRVALO_BUILD_DIR=${CMAKE_BINARY_DIR}")
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "TIRVALO_BUILD_DIR=${CMAKE_BINARY_DIR}")
# What every Windows test and every check that runs Wine asks for.
set(WINE_TEST PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS wine:1)
set(WINE_SCRIPT_ENVIRONMENT "WINEPREFIX=${TIRVALO_WINEPREFIX};TIRVALO_BUILD_DIR=${CMAKE_BINARY_DIR}")

# What every test program of the plug-in's code on real files and windows
# links: the code with its window template, the window dump, and the shared
# harness (tests/support).
set(WINDOW_TEST_SOURCES
  $<TARGET_OBJECTS:tirvalo_code>
  $<TARGET_OBJECTS:window_dump>
  dialog/Tirvalo.rc
  tests/support/fileinfo_fixture.cpp
  tests/support/import_table.cpp
  tests/support/registry_sandbox.cpp
  tests/support/temp_folder.cpp
  tests/support/locked_file.cpp
)
# A library with a version resource, for the tests of file versions.
add_library(version_sample SHARED tests/unit/data/version_sample.cpp tests/unit/data/version_sample.rc)

# The unit tests, one program: the plug-in's code with the window template
# compiled in, and the stand-in host; real files, registry and windows, and
# modifier keys held for real; the stand-in shell's key codes checked
# against the plug-in's tables, and the native build's character table
# against the platform's.  Times are local to a zone with daylight saving,
# in the English (United States) formats.
add_executable(unit_tests
  ${WINDOW_TEST_SOURCES}
  host/keyboard.cpp
  native/shim/chartype_table.cpp
  tests/unit/window_probe.cpp
  # frame/ and the stand-in host
  tests/unit/chartype_test.cpp
  tests/unit/text_test.cpp
  tests/unit/frame_test.cpp
  tests/unit/host_test.cpp
  # hotkeys/, settings/, loading and command/
  tests/unit/hotkeys_test.cpp
  tests/unit/settings_test.cpp
  tests/unit/loading_test.cpp
  tests/unit/command_test.cpp
  # fileinfo/ and dialog/
  tests/unit/name_scan_test.cpp
  tests/unit/formatters_test.cpp
  tests/unit/filetype_test.cpp
  tests/unit/info_dialog_test.cpp
  tests/unit/foreground_test.cpp
  tests/unit/show_file_info_test.cpp
  tests/unit/window_dump_test.cpp
  # the keystroke handler, the word at the cursor, the shell's key codes
  tests/unit/word_at_cursor_test.cpp
  tests/unit/keystroke_test.cpp
  tests/unit/keyboard_test.cpp
)
target_link_libraries(unit_tests PRIVATE gtest_main korrash_host ${TIRVALO_SYSTEM_LIBS} gdi32)
tirvalo_test_program(unit_tests)
add_dependencies(unit_tests version_sample file_locker)
gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  ${WINE_TEST} ENVIRONMENT "TZ=CET-1CEST,M3.5.0,M10.5.0/3;LC_ALL=C.UTF-8")

# End-to-end tests run korrash.exe with the built Tirvalo.dll, as a user would.
add_executable(e2e_tests
  tests/support/registry_sandbox.cpp
  tests/support/shell_runner.cpp
  tests/support/temp_folder.cpp
  tests/e2e/frame_e2e_test.cpp
  tests/e2e/window_switches_e2e_test.cpp
  tests/e2e/no_desktop_e2e_test.cpp
  tests/e2e/command_e2e_test.cpp
  tests/e2e/keystroke_e2e_test.cpp
)
target_link_libraries(e2e_tests PRIVATE gtest_main korrash_host version)
tirvalo_test_program(e2e_tests)
add_dependencies(e2e_tests Tirvalo korrash_shell)
# Expected outputs, beside the test program, byte for byte as in the source.
foreach(data hotkeys-classic.txt hotkeys-extended.txt)
  configure_file(${CMAKE_SOURCE_DIR}/tests/data/${data} ${CMAKE_BINARY_DIR}/bin/testdata/${data} COPYONLY)
endforeach()
gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  ${WINE_TEST})

# What Tirvalo.dll exports and imports, read from the file itself.
add_test(NAME dll.exports_and_imports
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check-dll.sh $<TARGET_FILE:Tirvalo> ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})

# The release packed from this build: zips, sums, README.txt and the PDB.
add_test(NAME release.package_and_symbols COMMAND ${CMAKE_SOURCE_DIR}/tests/release-test.sh)
set_tests_properties(release.package_and_symbols PROPERTIES
  FIXTURES_REQUIRED wine RESOURCE_GROUPS wine:1 ENVIRONMENT "${WINE_SCRIPT_ENVIRONMENT}" COST 30)

# The release signed with a certificate made for the test, and its bill of
# materials (no Wine).
add_test(NAME release.signature_and_bill_of_materials COMMAND ${CMAKE_SOURCE_DIR}/tests/release-signing-test.sh)
set_tests_properties(release.signature_and_bill_of_materials PROPERTIES
  ENVIRONMENT "TIRVALO_BUILD_DIR=${CMAKE_BINARY_DIR}" COST 30)

# The launcher, from the Linux side, with the project's prefix and server.
add_test(NAME launcher.runs_commands
  COMMAND ${CMAKE_SOURCE_DIR}/tests/launcher-test.sh)
set_tests_properties(launcher.runs_commands PROPERTIES
  FIXTURES_REQUIRED wine RESOURCE_GROUPS wine:1 ENVIRONMENT "${WINE_SCRIPT_ENVIRONMENT}" COST 30)

# The window and the help's box in the display's own DPI, in a copy of the
# lane's prefix at 192 DPI.
add_test(NAME window.display_dpi COMMAND ${CMAKE_SOURCE_DIR}/tests/display-dpi-test.sh)
set_tests_properties(window.display_dpi PROPERTIES
  FIXTURES_REQUIRED wine RESOURCE_GROUPS wine:1 ENVIRONMENT "${WINE_SCRIPT_ENVIRONMENT}" COST 30)

# The hotkey in a real terminal: the interactive shell under tmux.
add_test(NAME terminal.hotkey_at_the_prompt
  COMMAND ${CMAKE_SOURCE_DIR}/tests/terminal-test.sh)
set_tests_properties(terminal.hotkey_at_the_prompt PROPERTIES
  FIXTURES_REQUIRED wine RESOURCE_GROUPS wine:1 ENVIRONMENT "${WINE_SCRIPT_ENVIRONMENT}" COST 30)

# The Linux-side work that only needs the CPU (builds, fuzzing, static
# analysis) runs at the lowest priority: the tests under Wine wait on their
# server and their windows, and would wait three times as long behind it.
set(IN_BACKGROUND nice -n 19)

# The native build of the text routines, under the address and
# undefined-behaviour sanitizers (made by the test build.native): its unit
# tests, the check that it uses no C library, and every fuzz target for a
# bounded time (scripts/fuzz; longer runs: scripts/fuzz --minutes N).
set(BUILD_STEP_ENVIRONMENT "TIRVALO_BUILD_DIR=${CMAKE_BINARY_DIR}")
add_test(NAME build.native COMMAND ${IN_BACKGROUND} ${CMAKE_SOURCE_DIR}/tests/build-step.sh native)
set_tests_properties(build.native PROPERTIES FIXTURES_SETUP native
  ENVIRONMENT "${BUILD_STEP_ENVIRONMENT}" TIMEOUT 600 COST 200)
add_test(NAME native.unit_tests COMMAND ${NATIVE_BINARY_DIR}/bin/native_unit_tests)
add_test(NAME native.no_c_library
  COMMAND ${CMAKE_SOURCE_DIR}/tests/native-symbols.sh ${NATIVE_BINARY_DIR}/libproduct_text.a)
set_tests_properties(native.unit_tests native.no_c_library PROPERTIES FIXTURES_REQUIRED native)
include(${CMAKE_SOURCE_DIR}/native/fuzz/targets.cmake)
foreach(target ${FUZZ_TARGETS})
  add_test(NAME native.fuzz.${target} COMMAND ${IN_BACKGROUND} ${CMAKE_SOURCE_DIR}/scripts/fuzz --seconds 3 ${target})
  set_tests_properties(native.fuzz.${target} PROPERTIES FIXTURES_REQUIRED native
    ENVIRONMENT "TIRVALO_BUILD_DIR=${CMAKE_BINARY_DIR}" TIMEOUT 120 COST 20)
endforeach()

# The second compiler: the DLL built with GCC (by the test build.gcc_mingw)
# gives the same output as the one built with clang, in the same shell.
add_test(NAME build.gcc_mingw COMMAND ${IN_BACKGROUND} ${CMAKE_SOURCE_DIR}/tests/build-step.sh gcc)
set_tests_properties(build.gcc_mingw PROPERTIES FIXTURES_SETUP gcc_mingw
  ENVIRONMENT "${BUILD_STEP_ENVIRONMENT}" TIMEOUT 600 COST 100)
add_test(NAME gcc_mingw.same_behaviour COMMAND ${CMAKE_SOURCE_DIR}/tests/second-compiler-test.sh)
set_tests_properties(gcc_mingw.same_behaviour PROPERTIES
  FIXTURES_REQUIRED "wine;gcc_mingw" RESOURCE_GROUPS wine:1 ENVIRONMENT "${WINE_SCRIPT_ENVIRONMENT}" COST 30)

# The benchmark program builds (scripts/bench runs it).
add_test(NAME build.bench COMMAND ${IN_BACKGROUND} ${CMAKE_SOURCE_DIR}/tests/build-step.sh bench)
set_tests_properties(build.bench PROPERTIES ENVIRONMENT "${BUILD_STEP_ENVIRONMENT}" TIMEOUT 600 COST 50)

# Static analysis of the product's and the stand-in host's sources.
add_test(NAME lint.cppcheck COMMAND ${IN_BACKGROUND} ${CMAKE_SOURCE_DIR}/tests/static-analysis.sh cppcheck)
add_test(NAME lint.clang_tidy COMMAND ${IN_BACKGROUND} ${CMAKE_SOURCE_DIR}/tests/static-analysis.sh clang-tidy)
set_tests_properties(lint.clang_tidy PROPERTIES TIMEOUT 600 COST 40)

# Robustness under Wine: the soak of windows and keystrokes, handles left
# open on any path, the deepest stack, and hostile input.
add_executable(file_locker tests/robustness/file_locker.cpp)
target_compile_options(file_locker PRIVATE -municode)
target_link_options(file_locker PRIVATE -municode)
add_executable(robustness_tests
  ${WINDOW_TEST_SOURCES}
  tests/support/shell_runner.cpp
  host/stack_probe.cpp
  tests/support/process_counters.cpp
  tests/support/plain_window.cpp
  tests/robustness/window_closer.cpp
  tests/robustness/soak_test.cpp
  tests/robustness/leak_test.cpp
  tests/robustness/stack_test.cpp
  tests/robustness/hostile_test.cpp
)
target_link_libraries(robustness_tests PRIVATE gtest_main korrash_host ${TIRVALO_SYSTEM_LIBS}
  gdi32 psapi ntdll)
tirvalo_test_program(robustness_tests)
add_dependencies(robustness_tests version_sample file_locker Tirvalo korrash_shell)
# The directory of 100,000 entries, made from Linux beside bin/ (once: later
# runs find it made), part of the robustness tests' setup.
add_test(NAME many_entries.setup
  COMMAND ${CMAKE_SOURCE_DIR}/tests/make-entries.sh ${CMAKE_BINARY_DIR}/many-entries)
set_tests_properties(many_entries.setup PROPERTIES FIXTURES_SETUP many_entries)
# The soak of windows takes half a minute on a quiet machine, a minute or two
# in the test command (its limit is ten, for a loaded machine): it starts
# first, in a lane of its own.
gtest_discover_tests(robustness_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  TEST_FILTER SoakTest.SixHundredWindowsLeaveNothingBehind ${WINE_TEST} TIMEOUT 600 COST 1000)
gtest_discover_tests(robustness_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  TEST_FILTER -SoakTest.SixHundredWindowsLeaveNothingBehind ${WINE_TEST} TIMEOUT 300 COST 10)
# The test of that directory waits for it (the discovered tests exist once
# the files above have run, and this one runs after them).
file(WRITE ${CMAKE_BINARY_DIR}/many_entries_fixture.cmake
  "set_tests_properties(HostileTest.ADirectoryOfAHundredThousandEntries PROPERTIES\n"
  "  FIXTURES_REQUIRED \"wine;many_entries\")\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/many_entries_fixture.cmake)

# Every failure, injected: the real Tirvalo.dll with the stand-in host, each
# path run with each call it makes to the platform and the host failing in
# turn (tests/faults/).  Each path is a test of its own, so a fault in the
# plug-in ends one path's process and names the call.
add_executable(fault_injection_tests
  tests/faults/fault_table.cpp
  tests/faults/fault_harness.cpp
  tests/faults/fault_injection_test.cpp
  tests/support/import_table.cpp
  tests/support/plain_window.cpp
  tests/support/process_counters.cpp
  tests/support/registry_sandbox.cpp
  tests/support/shell_runner.cpp
  tests/support/temp_folder.cpp
)
target_link_libraries(fault_injection_tests PRIVATE gtest_main korrash_host
  ${TIRVALO_SYSTEM_LIBS} psapi ntdll)
tirvalo_test_program(fault_injection_tests)
set_source_files_properties(tests/faults/fault_table.cpp tests/faults/fault_harness.cpp
  tests/faults/fault_injection_test.cpp PROPERTIES COMPILE_OPTIONS "${HOST_CXX_FLAGS}")
add_dependencies(fault_injection_tests Tirvalo version_sample)
# A test a row of the table of paths (FaultInjection.Path/CommandSave, ...),
# named by the table's names, not by the printed rows.
gtest_discover_tests(fault_injection_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
  ${WINE_TEST} TIMEOUT 180 COST 20)
