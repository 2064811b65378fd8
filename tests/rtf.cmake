# The RTF codec, tested on its own.
add_qt_test(tst_rtfreader SOURCES tst_rtfreader.cpp ../bench/procmemory.cpp LIBS rtfcodec)
target_include_directories(tst_rtfreader PRIVATE ${PROJECT_SOURCE_DIR}/bench)
add_qt_test(tst_rtfcorpus SOURCES tst_rtfcorpus.cpp LIBS rtfcodec)
add_qt_test(tst_rtfkept SOURCES tst_rtfkept.cpp LIBS rtfcodec rtfjson)
add_qt_test(tst_rtflistdocument SOURCES tst_rtflistdocument.cpp LIBS rtfcodec)
# Formatting written by other word processors, read and written back: styles, lists, direction, cells.
add_qt_test(tst_rtfroundtrip SOURCES tst_rtfroundtrip.cpp LIBS rtfcodec)
# LibreOffice, AbiWord and pandoc both ways (set-up installs them; LibreOffice starts slowly).
add_qt_test(tst_rtfpeers SOURCES tst_rtfpeers.cpp LIBS rtfcodec)
set_tests_properties(tst_rtfpeers PROPERTIES TIMEOUT 600)
