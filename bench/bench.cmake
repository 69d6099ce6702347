# The benchmark program, run only by scripts/bench; the test command builds
# it too (the test bench.builds), so that it keeps compiling.  It links the
# plug-in's code, the window template, the stand-in host and the window
# watch, like the file-information tests.
add_executable(tirvalo_bench EXCLUDE_FROM_ALL
  $<TARGET_OBJECTS:tirvalo_code>
  $<TARGET_OBJECTS:window_dump>
  dialog/Tirvalo.rc
  tests/support/import_table.cpp
  tests/support/process_counters.cpp
  bench/main.cpp
  bench/timing.cpp
  bench/report.cpp
  bench/counting.cpp
  bench/keystroke_bench.cpp
  bench/directory_bench.cpp
  bench/window_bench.cpp
  bench/parsing_bench.cpp
)
target_compile_options(tirvalo_bench PRIVATE -Wall -Wextra -g0 -municode)
target_link_options(tirvalo_bench PRIVATE -municode)
target_link_libraries(tirvalo_bench PRIVATE korrash_host ${TIRVALO_SYSTEM_LIBS} gdi32 psapi ntdll)
target_include_directories(tirvalo_bench PRIVATE ${CMAKE_SOURCE_DIR})
# The program it takes the facts of a version resource from.
add_dependencies(tirvalo_bench Tirvalo)
