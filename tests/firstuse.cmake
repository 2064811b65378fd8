# Real-window tests on a private X server; lib.sh and run-qtest.sh fail, never skip, without one.
# QtTest programs: the editor as a new user first meets it.
foreach(name tst_firstrunwindow tst_firstusedialogs)
  add_executable(${name} e2e/${name}.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp)
  target_link_libraries(${name} PRIVATE app Qt6::Test)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  add_test(NAME e2e_${name} COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/run-qtest.sh $<TARGET_FILE:${name}>)
  set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 180 LABELS e2e RUN_SERIAL TRUE)
endforeach()
# Another X client: offers HTML beside plain text on the clipboard.
add_executable(e2e_xclient e2e/xclient.cpp)
target_link_libraries(e2e_xclient PRIVATE Qt6::Gui)

# Scripts driving the built editor by keys: e2e_script(test-name script timeout arguments...)
function(e2e_script name script timeout)
  add_test(NAME ${name} COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${script}.sh $<TARGET_FILE:riruzo-deror> ${ARGN})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout} LABELS e2e RUN_SERIAL TRUE)
endfunction()
e2e_script(e2e_shell_smoke shell_smoke 120 $<TARGET_FILE:e2e_xclient>)
# What a screen reader hears, through the real accessibility bridge.
e2e_script(e2e_documents_screenreader documents_screenreader 120)
# A 100,000-paragraph document opened through the File menu at the first-run size, in Documento 1
# and in the smallest window a cascade leaves: the editor must still answer. Its "reader" mode (a
# screen reader asking meanwhile) runs by hand: its clipboard step has failed under a loaded ctest.
e2e_script(e2e_documents_bigopen documents_bigopen 300 $<TARGET_FILE:rtfgen-write>)
e2e_script(e2e_documents_bigopen_cascade documents_bigopen 300 $<TARGET_FILE:rtfgen-write> cascade)
