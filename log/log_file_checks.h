#pragma once

#include "log/sqlite_db.h"

#include <QString>

#include <cstdint>

namespace kx::log {

// Checks on the files the log opens and writes, each failure the reason alone, for a message that
// names the file. A log file may come from anywhere, so it is looked at whole before use.

// Four times the largest log one run can log (ten million records), with room for files that were
// added to again: larger files are not taken for logs.
inline constexpr std::int64_t kLargestLogFile = std::int64_t(2) << 30;

// A file to open as a log: a regular file (a pipe or a device would block or never end) no larger
// than `kLargestLogFile`.
Status checkFileToOpen(const QString &path);
// The opened file: undamaged (`quick_check`), with a table "log" that is an ordinary table without
// computed fields, and nothing that could run: no triggers, no views.
Status checkLogContent(Database &db);
// A file a save would replace: none there, or a regular file this user may write.
Status checkSaveTarget(const QString &path);
// The text of a system error number.
QString systemError(int error);

} // namespace kx::log
