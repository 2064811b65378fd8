# Real-window QtTest programs: the editor as a new user first meets it on an X server
# (window placement, captions, focus, Qt's real dialogs, the toolbar for assistive technology).
# run-qtest.sh fails, rather than skips, where no X server can be started.
foreach(name tst_firstrunwindow tst_firstusedialogs)
  add_executable(${name} e2e/${name}.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp)
  target_link_libraries(${name} PRIVATE app Qt6::Test)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  add_test(NAME e2e_${name}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/run-qtest.sh $<TARGET_FILE:${name}>)
  set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 180 LABELS e2e RUN_SERIAL TRUE)
endforeach()

# Plain text only through the clipboard, read back with xclip; another program (a small
# Qt client) offers HTML beside plain text.
add_executable(clipboardoffer e2e/clipboardoffer.cpp)
target_link_libraries(clipboardoffer PRIVATE Qt6::Gui)
add_test(NAME e2e_editing_plain_clipboard
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/editing_plain_clipboard.sh
          $<TARGET_FILE:riruzo-deror> $<TARGET_FILE:clipboardoffer>)
set_tests_properties(e2e_editing_plain_clipboard PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)
