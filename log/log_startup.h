#pragma once

#include "log/log_table.h"
#include "log/sqlite_db.h"

#include <QString>
#include <QStringList>

namespace kx::log {

class FileDialogs;
class MessageBoxes;
class ReadingLog;
struct EndedRun;

// The choices offered for a run that ended unexpectedly, in button order.
inline const QStringList kEndedRunChoices{QStringLiteral("Restore"), QStringLiteral("Save as…"),
                                          QStringLiteral("Discard")};

// The question about one ended run: how many readings, from when to when, and whether its log file
// changed since.
QString endedRunQuestion(const EndedRun &run);

// Start-up step "open the log table", before anything else: asks about each earlier run in this
// working directory that ended unexpectedly (its program did not end normally) whether to Restore
// its readings (they are the log's pending records again, unsaved, and logging goes on after them),
// Save them as a file and discard them, or Discard them; then opens the start-up table at `path`
// unless a run was restored. After a restore the other ended runs wait for the next start. Returns
// the outcome of opening; on failure the log stays closed.
Status openLogAtStartup(LogTable &table, ReadingLog &log, FileDialogs &dialogs, MessageBoxes &boxes,
                        const QString &path = LogTable::startupPath);

} // namespace kx::log
