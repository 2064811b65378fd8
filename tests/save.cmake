# Saving: every failure of the disk is caught and the old file kept, first through a
# system that fails on purpose, then on real disks (a full one and a read-only one).
add_qt_test(tst_safesave SOURCES tst_safesave.cpp support/faultysavesystem.h LIBS rtfcodec)
add_qt_test(tst_safesavesystem SOURCES tst_safesavesystem.cpp LIBS rtfcodec)

add_executable(savebytes support/savebytes.cpp)
target_link_libraries(savebytes PRIVATE rtfcodec)
# Mounts a small tmpfs in a private mount namespace: directly as root, as a mapped root
# in a user namespace otherwise. It fails, never skips, when neither can be had.
add_test(NAME save_real_disks
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/save/realdisks.sh
          $<TARGET_FILE:rtfdump> $<TARGET_FILE:savebytes>)
set_tests_properties(save_real_disks PROPERTIES TIMEOUT 300 ENVIRONMENT "LANG=C;LC_ALL=C")

# The editor's side: the message box from the menu and from the toolbar's "Guardar".
add_qt_test(tst_savefailures
  SOURCES tst_savefailures.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/scripteddialogs.cpp
  LIBS app)
