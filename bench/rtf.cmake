# The RTF codec: load and save against a QTextCursor build and a byte scan, unrtf and memory.
add_bench(bench_rtf
  SOURCES bench_rtf.cpp
  LIBS rtfcodec)
