add_bench(bench_selchange
  SOURCES bench_selchange.cpp
  LIBS app)
