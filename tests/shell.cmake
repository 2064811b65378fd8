# The application shell: the main window's placement, document windows and about box, and
# every handler run with no document open.
add_qt_test(tst_shell
  SOURCES tst_shell.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp
  LIBS app)
add_qt_test(tst_nodocument
  SOURCES tst_nodocument.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp
  LIBS app)

# The real-window smoke test needs an X server to start and a way to send it keys.
find_program(XVFB_RUN xvfb-run)
find_program(XVFB Xvfb)
find_program(XDOTOOL xdotool)
if((XVFB_RUN OR XVFB) AND XDOTOOL)
  # Started where scripts/run-editor.sh starts it, at the top of the build tree.
  add_test(NAME e2e_shell_smoke
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/shell_smoke.sh ${CMAKE_BINARY_DIR}/riruzo-deror)
  set_tests_properties(e2e_shell_smoke PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)
endif()
