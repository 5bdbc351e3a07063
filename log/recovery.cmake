# The reading log's storage beyond the table file: the checks on files it opens and writes, the save
# as a table, the recovery file that keeps a run's records through a crash, the start-up question
# about runs that ended unexpectedly, and the print command's guard for long logs. Included after
# reading_log.cmake, which makes the library.
target_sources(kx52b_log PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/log_fields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_file_checks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_table_save.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recovery_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pending_records.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_startup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_print.cpp
)
