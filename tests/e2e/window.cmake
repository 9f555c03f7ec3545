k7310_test(test_window LABEL unit TIMEOUT 60
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_test.cpp
  LIBS k7310_window)
k7310_test(test_eq_graph LABEL unit TIMEOUT 60
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/eq_graph_test.cpp
  LIBS k7310_window)
k7310_test(test_eq_drag LABEL unit TIMEOUT 60
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/eq_drag_test.cpp
  LIBS k7310_window)
