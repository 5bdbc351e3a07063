# The USB cable's HID devices: controller, devices, reader thread, and the hidraw backend, which
# loads libudev at run time (only its header is needed to build).
add_library(kx52b_hid STATIC
  ${CMAKE_CURRENT_LIST_DIR}/hid_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hid_device_controller.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hid_device_texts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hid_read_thread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hid_report_descriptor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hid_udev_platform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/udev_library.cpp)
target_include_directories(kx52b_hid PUBLIC ${PROJECT_SOURCE_DIR})
target_include_directories(kx52b_hid PRIVATE ${UDEV_INCLUDE_DIRS})
target_link_libraries(kx52b_hid PUBLIC Qt6::Core PRIVATE ${CMAKE_DL_LIBS})

# Lets the user at the seat open the adapter's hidraw node.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/70-kx52b-usb-serial.rules DESTINATION lib/udev/rules.d)
