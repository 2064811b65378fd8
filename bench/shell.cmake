add_bench(bench_startup
  SOURCES bench_startup.cpp
  LIBS app Qt6::Test)
