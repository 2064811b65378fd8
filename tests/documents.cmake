# The File menu as a user meets it, and printing; Qt's real dialogs and the real-window
# tests are in firstuse.cmake.
add_qt_test(tst_filecommands SOURCES tst_filecommands.cpp support/scripteddialogs.cpp LIBS app rtfgen)
add_qt_test(tst_printing SOURCES tst_printing.cpp support/scripteddialogs.cpp LIBS app)
