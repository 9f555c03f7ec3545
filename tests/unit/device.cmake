k7310_test(test_device_search LABEL unit TIMEOUT 30
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/device_search_test.cpp
  LIBS k7310_device)
