k7310_test(test_scales LABEL unit TIMEOUT 30
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/scales_test.cpp
  LIBS k7310_eq)
k7310_test(test_number_text LABEL unit TIMEOUT 30
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/number_text_test.cpp
  LIBS k7310_eq)
k7310_test(test_eq_response LABEL unit TIMEOUT 30
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/eq_response_test.cpp
  LIBS k7310_eq_response)
