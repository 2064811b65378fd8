# Selection reads of the rich text control on large documents.
add_bench(bench_selreads
  SOURCES bench_selreads.cpp
  LIBS documents)
