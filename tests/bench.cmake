# The benchmarks' document generator: its documents keep the make-up the benchmarks need.
add_qt_test(tst_rtfgen SOURCES tst_rtfgen.cpp LIBS rtfgen rtfcodec)
