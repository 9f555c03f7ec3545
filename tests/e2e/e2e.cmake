# End-to-end tests: the real window offscreen against k7310-sim on a pseudo-terminal. One executable per area so
# that the long cases run side by side.
foreach(_case startup connect search serial_link ports eq device_settings channel usb)
  k7310_test(test_e2e_${_case} LABEL e2e TIMEOUT 120
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/${_case}_test.cpp
    LIBS k7310_window)
endforeach()
# The USB test reaches into the simulated processor's model (a unit's readings, its frame log).
target_link_libraries(test_e2e_usb PRIVATE k7310_sim_model)

k7310_test(test_block_view LABEL unit TIMEOUT 60
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/block_view_test.cpp
  LIBS k7310_window)
k7310_test(test_window_looks LABEL unit TIMEOUT 60
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_looks_test.cpp
  LIBS k7310_window)
# The band table and the crossover controls on the offscreen window; frames queue without a link.
k7310_test(test_eq_editor LABEL unit TIMEOUT 60
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/eq_editor_test.cpp
  LIBS k7310_window)

# The device backend without a window, against the simulator (links Qt Core only).
k7310_test(test_e2e_headless LABEL e2e TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/headless_test.cpp
  LIBS k7310_link)

# The controller's command line, run as a program.
k7310_test(test_cli LABEL unit TIMEOUT 60
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cli_test.cpp
  LIBS Qt6::Core)
add_dependencies(test_cli controller_en)
add_dependencies(test_cli k7310_sim_hidapi)
target_compile_definitions(test_cli PRIVATE K7310_CONTROLLER_PATH="$<TARGET_FILE:controller_en>"
  K7310_SIM_USB_LIBRARY_DIR="$<TARGET_FILE_DIR:k7310_sim_hidapi>")
