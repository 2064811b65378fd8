# The rich text control.
add_qt_test(tst_richtextbox
  SOURCES tst_richtextbox.cpp
  LIBS documents)
add_qt_test(tst_richtextaccessible
  SOURCES tst_richtextaccessible.cpp
  LIBS documents)
add_qt_test(tst_richtextboxlayout
  SOURCES tst_richtextboxlayout.cpp
  LIBS documents)
