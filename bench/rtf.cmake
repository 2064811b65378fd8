# The RTF codec: load and save against a QTextCursor build and a byte scan, unrtf and memory.
add_bench(bench_rtf
  SOURCES bench_rtf.cpp benchchild.h benchchild.cpp procmemory.h procmemory.cpp
  LIBS rtfcodec)
# The codec on pathological shapes: how reading and saving time grow as each doubles,
# and the peak memory of reading against the file's size.
add_bench(bench_pathological
  SOURCES bench_pathological.cpp pathologicalshapes.h pathologicalshapes.cpp
    benchchild.h benchchild.cpp procmemory.h procmemory.cpp
  LIBS rtfcodec)
