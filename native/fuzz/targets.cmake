# The fuzz targets: native/fuzz/fuzz_NAME.cpp, each with its seed corpus in
# native/fuzz/corpus/NAME.  Read by the native build and by the tests.
set(FUZZ_TARGETS
  text usage_text split_arguments option_values hotkey_names word_at_cursor
  name_scan program_part percents host_version command)
