#pragma once

#include "log/log_record.h"
#include "log/recovery_file.h"
#include "log/sqlite_db.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kx::log {

// The records appended to a log during the run, kept apart from the log's own file, which logging
// never writes: in the schema "rec" of the log's connection, which is the run's recovery file, or
// temporary storage when no recovery file can be made. Appends are batched: the first one after a
// commit starts a one-second timer, whose timeout commits them all with the file forced to disk, so
// a crash or a power cut loses at most the last second's records. A commit that fails drops its
// batch; every later append is then written through on its own until one is kept again, so nothing
// is shown that the file does not hold.
class PendingRecords : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kSchema = "rec.";
    static constexpr int kCommitDelayMs = 1000;

    PendingRecords();
    // Commits and keeps the recovery file: only `detach(End::Run)` ends a run.
    ~PendingRecords() override;

    // Starts keeping records on `db`, their keys following one another from `firstKey`: in `restored`
    // when given (the file of a run that ended unexpectedly, with its records), else in a new recovery
    // file, else in temporary storage, `warning` saying why.
    Status attach(Database &db, const RunFacts &facts, std::int64_t firstKey,
                  std::shared_ptr<RecoveryFile> restored, QString &warning);
    enum class End { Run, Keep };
    // Stops keeping records: `Run` drops them with their recovery file (a normal end of the run), `Keep`
    // commits them and leaves the file for a restore.
    void detach(End end);

    std::int64_t count() const { return m_count; }
    // The key the next record would get.
    std::int64_t nextKey() const { return m_firstKey + m_count; }
    // SQL for the key of a record of "rec.log".
    std::string keySql() const;
    Status append(const LogRecord &record);
    // Commits the records appended since the last commit now.
    Status commit();
    // The file says its records are all saved, so a start-up removes it rather than offer it.
    void markSaved();
    Status read(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const;

signals:
    // Writing failed for the first time since it last worked; the records appended since the last
    // commit are gone. Also a recovery file that could not be made.
    void writeFailed(const QString &error);

private:
    Status attachFile(Database &db, const RunFacts &facts, bool restored);
    Status attachTemporary(Database &db);
    Status fail(const Status &failure);

    Database *m_db = nullptr;
    std::shared_ptr<RecoveryFile> m_file;
    Statement m_insert;
    mutable Statement m_window;
    QTimer m_commitTimer;
    std::int64_t m_firstKey = 1;
    std::int64_t m_count = 0;
    std::int64_t m_uncommitted = 0;
    // What the file's table "run" says: some records are not saved.
    bool m_fileSaysUnsaved = false;
    bool m_failing = false;
};

} // namespace kx::log
