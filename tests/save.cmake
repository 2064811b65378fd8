# Files on disk: a failed save keeps the old file, through a system that fails on purpose, the
# real system, and real full and read-only disks; what cannot be saved or opened says why.
add_qt_test(tst_diskfiles SOURCES tst_diskfiles.cpp support/faultysavesystem.h support/savechecks.h LIBS rtfcodec)

add_executable(savebytes support/savebytes.cpp)
target_link_libraries(savebytes PRIVATE rtfcodec)
add_test(NAME save_real_disks
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/save/realdisks.sh
          $<TARGET_FILE:rtfdump> $<TARGET_FILE:savebytes>)
set_tests_properties(save_real_disks PROPERTIES TIMEOUT 300 ENVIRONMENT "LANG=C;LC_ALL=C")
