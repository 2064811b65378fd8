# The RTF codec, tested on its own.
add_qt_test(tst_rtfreader SOURCES tst_rtfreader.cpp ../bench/procmemory.cpp LIBS rtfcodec)
target_include_directories(tst_rtfreader PRIVATE ${PROJECT_SOURCE_DIR}/bench)
add_qt_test(tst_rtfwriter SOURCES tst_rtfwriter.cpp LIBS rtfcodec)
add_qt_test(tst_rtfcorpus SOURCES tst_rtfcorpus.cpp LIBS rtfcodec)
add_qt_test(tst_rtfkept SOURCES tst_rtfkept.cpp LIBS rtfcodec rtfjson)
# Runs the word processors that set-up installs; LibreOffice's first start is slow.
add_qt_test(tst_rtfinterop SOURCES tst_rtfinterop.cpp LIBS rtfcodec)
set_tests_properties(tst_rtfinterop PROPERTIES TIMEOUT 300)
# Formatting written by other word processors: styles, list levels, direction, cells.
add_qt_test(tst_rtflistdocument SOURCES tst_rtflistdocument.cpp LIBS rtfcodec)
add_qt_test(tst_rtffidelity SOURCES tst_rtffidelity.cpp support/fidelitysupport.h LIBS rtfcodec)
add_qt_test(tst_rtfwriteback SOURCES tst_rtfwriteback.cpp support/fidelitysupport.h LIBS rtfcodec)
# Documents written by the word processors themselves, and written back to them; the three
# convert in few runs, LibreOffice's first start being slow.
add_qt_test(tst_rtfpeers SOURCES tst_rtfpeers.cpp support/fidelitysupport.h LIBS rtfcodec)
set_tests_properties(tst_rtfpeers PROPERTIES TIMEOUT 600)
# LibreOffice reads back what we keep of a document it wrote.
add_qt_test(tst_rtfkeptinterop SOURCES tst_rtfkeptinterop.cpp LIBS rtfcodec)
