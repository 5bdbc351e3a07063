# The reading log: the log table on SQLite, the offering rules, the grid model, the log files and the
# printed report.
add_library(kx52b_log STATIC
  ${CMAKE_CURRENT_LIST_DIR}/sqlite_db.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_prompts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reading_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reading_log_controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_grid_rows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_grid_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_report.cpp
)
target_include_directories(kx52b_log PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(kx52b_log PUBLIC kx52b_display kx52b_text Qt6::Widgets Qt6::PrintSupport PkgConfig::SQLITE3)
