# The File menu as a user meets it, and printing; Qt's real dialogs and the real-window
# tests are in firstuse.cmake.
set(DOCUMENT_TEST_SUPPORT ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp)
add_qt_test(tst_filecommands SOURCES tst_filecommands.cpp ${DOCUMENT_TEST_SUPPORT} LIBS app rtfgen)
add_qt_test(tst_printing SOURCES tst_printing.cpp ${DOCUMENT_TEST_SUPPORT} LIBS app)
