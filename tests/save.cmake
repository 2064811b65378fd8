# Files on disk: every failure of a save is caught and the old file kept, first through a
# system that fails on purpose, then on the real system and on real disks (a full one and a
# read-only one); what cannot be saved or opened says why.
add_qt_test(tst_diskfiles SOURCES tst_diskfiles.cpp support/faultysavesystem.h support/savechecks.h LIBS rtfcodec)

add_executable(savebytes support/savebytes.cpp)
target_link_libraries(savebytes PRIVATE rtfcodec)
# Mounts a small tmpfs in a private mount namespace: directly as root, as a mapped root
# in a user namespace otherwise. It fails, never skips, when neither can be had.
add_test(NAME save_real_disks
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/save/realdisks.sh
          $<TARGET_FILE:rtfdump> $<TARGET_FILE:savebytes>)
set_tests_properties(save_real_disks PROPERTIES TIMEOUT 300 ENVIRONMENT "LANG=C;LC_ALL=C")
