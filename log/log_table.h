#pragma once

#include "log/log_record.h"
#include "log/pending_records.h"
#include "log/recovery_file.h"
#include "log/sqlite_db.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace kx::log {

// What every command that needs an open log says while none is.
inline const QString kNoLogOpen = QStringLiteral("No log is open.");

// The log table `T38BDB`: an SQLite file holding the table "log", opened for exclusive use, plus
// the records appended during the run. Appended records are pending: they are kept in the run's
// recovery file (see `PendingRecords`), are seen by every reader together with the file's own
// records, and are dropped when the run ends normally. The file itself is never written by logging
// or emptying.
class LogTable : public QObject {
    Q_OBJECT
public:
    // The start-up table "Kx52bdb", looked up in the working directory.
    static inline const QString startupPath = QStringLiteral("Kx52bdb.db");

    explicit LogTable(QObject *parent = nullptr);
    // Keeps the recovery file with the records logged so far, for a restore: only `close()`,
    // emptying, a save or opening another file end a run normally.
    ~LogTable() override;

    // Opens the start-up table, creating it with the log's fields when the file is missing.
    Status openStartup(const QString &path = startupPath);
    // Opens a saved log table by its path, as chosen. The file is checked whole before the log
    // changes: a missing file, one that is not SQLite or is damaged, a table without the log's
    // fields, a schema with anything that could run, a file too large for a log, or one in use by
    // another program fails with a message naming it, and the log stays as it was.
    Status open(const QString &path);
    // At start-up, before a log is open: takes up a run that ended unexpectedly, its log file with the run's records as pending ones,
    // unsaved, kept on in the run's own recovery file. When that log file cannot be opened, the
    // records come back alone on the start-up table at `startup`, its own records hidden.
    Status restore(const EndedRun &run, const QString &startup = startupPath);
    // Closes the table, the normal end of a run: its pending records are dropped and its recovery
    // file removed.
    void close();
    bool isOpen() const { return m_file.db.isOpen(); }
    const QString &path() const { return m_file.path; }

    std::int64_t count() const { return m_file.count + m_pending.count(); }
    // The records appended since the log was opened or emptied.
    std::int64_t pendingCount() const { return m_pending.count(); }
    Status append(const LogRecord &record);
    // Deletes every record: the file's records are hidden for the rest of the run, the pending ones
    // dropped with their recovery file, and a new one started.
    Status clear();
    // Writes the records appended in the last second to the recovery file now; it runs by itself
    // a second after the first of them.
    Status commit() { return m_pending.commit(); }

    // Reads up to `n` records from row `first` (0 is the first record), in table order.
    Status read(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const;
    // Visits every record in table order.
    Status forEach(const std::function<void(const LogRecord &)> &visit) const;

    // Writes every record, pending ones included, as a new log table at `path` (keyed on "Not"),
    // through a temporary file beside it, so a failure leaves any file there as it was. A closed
    // log writes nothing.
    Status saveAsTable(const QString &path);
    // True when `path` names the file this table was opened from.
    bool isOpenFile(const QString &path) const;
    // True when `path` is a log table that another program holds open, which no save may replace.
    static bool isLockedElsewhere(const QString &path);

    // Records logged since the table was opened or emptied, or since the last successful save.
    bool hasUnsavedRecords() const { return m_unsaved; }
    // After a save; the recovery file says so too, and is not offered after a crash.
    void markSaved();

signals:
    void recordAppended(std::int64_t row, const kx::log::LogRecord &record);
    // The whole content changed: opened, closed, emptied, or records dropped by a failed write.
    void contentReset();
    // Records are not kept as they should be: a write failed (disk full, I/O error) and the records
    // since the last commit are gone, said once until writing works again; or no recovery file
    // could be made, said once until one can.
    void writeFailed(const QString &error);

private:
    // The opened log file and what is known of its records.
    struct File {
        Database db;
        QString path;
        mutable Statement window;
        // Row positions of the file's records: the rowid of every `kStride`-th record, so any row
        // is reached by one indexed look-up and a short skip.
        std::vector<std::int64_t> starts;
        std::int64_t count = 0;
        std::int64_t highestKey = 0;
    };
    static Status openChecked(const QString &path, File &file);
    static Status indexRecords(File &file);
    Status takeUp(File &&file, bool hideRecords, std::shared_ptr<RecoveryFile> restored);
    Status startPending(bool hideRecords, std::int64_t firstKey, std::shared_ptr<RecoveryFile> restored);
    std::int64_t keyAfterFile() const;
    void closeQuietly(PendingRecords::End end);
    Status readFile(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const;

    File m_file;
    PendingRecords m_pending;
    bool m_unsaved = false;
    bool m_toldNoRecovery = false;
};

} // namespace kx::log
