# The trend chart: its points, pages and navigation as plain C++, and the Qt Charts widget on top.
add_library(kx52b_chart_paging STATIC
  ${CMAKE_CURRENT_LIST_DIR}/chart_points.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_paging.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_decimation.cpp)
target_include_directories(kx52b_chart_paging PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(kx52b_chart_paging PUBLIC kx52b_text)

add_library(kx52b_chart STATIC
  ${CMAKE_CURRENT_LIST_DIR}/trend_chart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trend_chart_toolbar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_messages.cpp)
target_link_libraries(kx52b_chart PUBLIC kx52b_chart_paging kx52b_display Qt6::Widgets Qt6::Charts)
