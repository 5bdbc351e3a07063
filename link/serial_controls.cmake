# The serial connection control: its state without widgets, the link watchdog, and the binding of
# the window's port menus, panels and buttons.
add_library(kx52b_serial_controls STATIC
  ${CMAKE_CURRENT_LIST_DIR}/serial_connection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_watchdog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exclusive_toggle_group.cpp
  ${CMAKE_CURRENT_LIST_DIR}/serial_connection_controls.cpp)
target_link_libraries(kx52b_serial_controls PUBLIC kx52b_link Qt6::Widgets)
