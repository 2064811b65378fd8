# Open and Save through the file commands against the codec alone.
add_bench(bench_filecommands
  SOURCES bench_filecommands.cpp ${PROJECT_SOURCE_DIR}/tests/support/scripteddialogs.cpp
  LIBS app)
target_include_directories(bench_filecommands PRIVATE ${PROJECT_SOURCE_DIR}/tests)
