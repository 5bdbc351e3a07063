#pragma once

#include "log/log_record.h"
#include "log/sqlite_db.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace kx::log {

// The log table `T38BDB`: an SQLite file holding the table "log", opened for exclusive use, plus
// the records appended during the run. Appended records are pending: they live in a temporary table
// of the same connection (on disk beside the system's temporary files, so millions of them cost
// little memory), are seen by every reader together with the file's own records, and vanish when
// the table is closed. The file itself is never written by logging or emptying.
class LogTable : public QObject {
    Q_OBJECT
public:
    // The start-up table "Kx52bdb", looked up in the working directory.
    static inline const QString startupPath = QStringLiteral("Kx52bdb.db");

    explicit LogTable(QObject *parent = nullptr);
    ~LogTable() override;

    // Opens the start-up table, creating it with the log's fields when the file is missing.
    Status openStartup(const QString &path = startupPath);
    // Opens a saved log table by its path, as chosen. Fails with the engine's error for a missing
    // file, a file that is not SQLite, a table without the log's fields, or a table in use by
    // another program; the table is then closed.
    Status open(const QString &path);
    // Closes the table; its pending records are discarded.
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    const QString &path() const { return m_path; }

    std::int64_t count() const { return m_fileCount + m_pendingCount; }
    Status append(const LogRecord &record);
    // Deletes every record: the file's records are hidden for the rest of the run, the pending ones
    // dropped.
    Status clear();

    // Reads up to `n` records from row `first` (0 is the first record), in table order.
    Status read(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const;
    // Visits every record in table order.
    Status forEach(const std::function<void(const LogRecord &)> &visit) const;

    // Writes every record, pending ones included, as a new log table at `path` (keyed on "Not"),
    // through a temporary file beside it, so a failure leaves any file there as it was.
    Status saveAsTable(const QString &path);
    // True when `path` names the file this table was opened from.
    bool isOpenFile(const QString &path) const;
    // True when `path` is a log table that another program holds open, which no save may replace.
    static bool isLockedElsewhere(const QString &path);

    // Records logged since the table was opened or emptied, or since the last successful save.
    bool hasUnsavedRecords() const { return m_unsaved; }
    void markSaved() { m_unsaved = false; }

signals:
    void recordAppended(std::int64_t row, const kx::log::LogRecord &record);
    // The whole content changed: opened, closed, emptied.
    void contentReset();

private:
    Status openFile(const QString &path);
    Status indexFileRecords();
    Status readFile(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const;
    Status readPending(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const;
    void closeQuietly();

    Database m_db;
    QString m_path;
    Statement m_insert;
    mutable Statement m_fileWindow;
    mutable Statement m_pendingWindow;
    // Row positions of the file's records: the rowid of every `kStride`-th record, so any row is
    // reached by one indexed look-up and a short skip.
    std::vector<std::int64_t> m_fileStarts;
    std::int64_t m_fileCount = 0;
    std::int64_t m_pendingCount = 0;
    // "Not" of the first pending record; pending records take consecutive values from it.
    std::int64_t m_firstPendingKey = 1;
    bool m_unsaved = false;
};

} // namespace kx::log
