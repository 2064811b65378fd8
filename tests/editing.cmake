# Editing and formatting commands: toolbar, selection feedback, quick, indent, font and colour buttons.
add_qt_test(tst_editing
  SOURCES tst_editing.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp
  LIBS app)
