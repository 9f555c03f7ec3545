# The window timer wrapper; needs Qt, so only with the Qt programs.
if(TARGET k7310_link)
  k7310_test(test_window_timer LABEL unit TIMEOUT 60
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_timer_test.cpp
    LIBS k7310_link)
endif()

# The device backend against a test link (Qt Core only; never Qt Widgets).
if(TARGET k7310_link)
  k7310_test(test_backend LABEL unit TIMEOUT 60
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/backend_test.cpp
    LIBS k7310_link)
endif()

# The USB link and its transmit and receive paths through the backend, against a scripted platform.
if(TARGET k7310_link)
  k7310_test(test_usb_link LABEL unit TIMEOUT 60
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/usb_link_test.cpp
    LIBS k7310_link)
endif()

# The HID library platform against the simulated USB library (linked in the system library's place).
if(TARGET k7310_usb_hidapi AND TARGET k7310_sim_hidapi)
  k7310_test(test_usb_platform LABEL unit TIMEOUT 120
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/usb_platform_test.cpp
    LIBS k7310_usb_hidapi k7310_sim_hidapi)
endif()
