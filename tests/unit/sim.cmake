k7310_test(test_sim_model LABEL unit TIMEOUT 30
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sim_model_test.cpp ${CMAKE_CURRENT_LIST_DIR}/sim_line_test.cpp
  LIBS k7310_sim_model)

# Runs the real program behind its pseudo-terminals.
k7310_test(test_sim_pty LABEL unit TIMEOUT 60
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sim_pty_test.cpp
  LIBS k7310_protocol)
add_dependencies(test_sim_pty k7310-sim)

# The simulated USB library, called as the program calls the HID library.
if(TARGET k7310_sim_hidapi)
  k7310_test(test_sim_usb LABEL unit TIMEOUT 60
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/sim_usb_test.cpp
    LIBS k7310_sim_hidapi k7310_sim_model k7310_protocol)
endif()
