# The main window's placement and document windows; every handler run with no document open.
foreach(name tst_shell tst_nodocument)
  add_qt_test(${name} SOURCES ${name}.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp LIBS app)
endforeach()
