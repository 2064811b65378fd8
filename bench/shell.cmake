add_bench(bench_startup
  SOURCES bench_startup.cpp
  LIBS editor Qt6::Test)
