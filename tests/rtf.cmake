# The RTF codec, tested on its own.
add_qt_test(tst_rtfreader SOURCES tst_rtfreader.cpp LIBS rtfcodec)
add_qt_test(tst_rtfwriter SOURCES tst_rtfwriter.cpp LIBS rtfcodec)
add_qt_test(tst_rtfcorpus SOURCES tst_rtfcorpus.cpp LIBS rtfcodec)
add_qt_test(tst_rtfkept SOURCES tst_rtfkept.cpp LIBS rtfcodec)
# Runs the word processors that are installed; LibreOffice's first start is slow.
add_qt_test(tst_rtfinterop SOURCES tst_rtfinterop.cpp LIBS rtfcodec)
set_tests_properties(tst_rtfinterop PROPERTIES TIMEOUT 300)
# LibreOffice reads back what we keep of a document it wrote.
add_qt_test(tst_rtfkeptinterop SOURCES tst_rtfkeptinterop.cpp LIBS rtfcodec)
