# The application shell: the main window's placement, document windows and about box, and
# every handler run with no document open.
foreach(name tst_shell tst_nodocument)
  add_qt_test(${name} SOURCES ${name}.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp LIBS app)
endforeach()
