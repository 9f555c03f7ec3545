k7310_test(test_protocol LABEL unit TIMEOUT 60
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/frames_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/group_block_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scheduler_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parser_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hid_reports_test.cpp
  LIBS k7310_protocol)
