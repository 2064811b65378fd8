# Editing and formatting commands: toolbar, selection feedback, clipboard, quick buttons,
# paragraph buttons (the indent as typed), font and colour dialogs.
add_qt_test(tst_editing
  SOURCES tst_editing.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp
  LIBS app)

# Real-window tests: clipboard exchange with another X client, bold through save and reopen.
find_program(EDITING_XVFB Xvfb)
find_program(EDITING_XDOTOOL xdotool)
find_program(EDITING_XCLIP xclip)
if(EDITING_XVFB AND EDITING_XDOTOOL AND EDITING_XCLIP)
  add_test(NAME e2e_editing_clipboard
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/editing_clipboard.sh $<TARGET_FILE:riruzo-deror>)
  set_tests_properties(e2e_editing_clipboard PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)
  add_executable(e2e_findpicture e2e/findpicture.cpp)
  target_link_libraries(e2e_findpicture PRIVATE Qt6::Gui)
  add_test(NAME e2e_editing_bold_reopen
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/editing_bold_reopen.sh $<TARGET_FILE:riruzo-deror>
            $<TARGET_FILE:e2e_findpicture> ${PROJECT_SOURCE_DIR}/resources/toolbar/bold.xpm)
  set_tests_properties(e2e_editing_bold_reopen PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)
endif()
