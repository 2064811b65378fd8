# The accessibility bridge's cost on large documents (run through run-accessibility.sh).
add_bench(bench_accessibility
  SOURCES bench_accessibility.cpp turnmeter.cpp
  LIBS app Qt6::Test)
