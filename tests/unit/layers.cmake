# The layer rule of the source tree: every include points down.
k7310_test(test_layers LABEL unit TIMEOUT 30
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/layers_test.cpp ${CMAKE_CURRENT_LIST_DIR}/layers.cpp
  LIBS)
target_include_directories(test_layers PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(test_layers PRIVATE K7310_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
