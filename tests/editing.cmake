# Editing and formatting commands: toolbar, selection feedback, clipboard, quick buttons,
# paragraph buttons (the indent as typed), font and colour dialogs.
add_qt_test(tst_editing
  SOURCES tst_editing.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp
  LIBS app)
