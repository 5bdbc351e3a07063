# The window's USB adapter link: device list, history and buttons on the HID controller.
add_library(kx52b_usb_link STATIC ${CMAKE_CURRENT_LIST_DIR}/usb_adapter_link.cpp)
target_link_libraries(kx52b_usb_link PUBLIC kx52b_hid kx52b_usb_reports Qt6::Widgets)
