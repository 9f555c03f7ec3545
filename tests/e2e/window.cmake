k7310_test(test_window LABEL unit TIMEOUT 60
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_test.cpp
  LIBS k7310_window)
