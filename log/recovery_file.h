#pragma once

#include "log/sqlite_db.h"

#include <QString>
#include <QStringList>
#include <QTime>

#include <cstdint>
#include <memory>
#include <vector>

class QFile;

namespace kx::log {

// The recovery file of an open log keeps the records appended to it during a run, so that they
// outlive the program: an SQLite file in the user's state directory, named after the working
// directory the program runs in and unique to the run. Its program holds it locked (flock) for as
// long as it uses it, so the file of a running program is never taken by another; the kernel drops
// the lock with the process, however that ends.
class RecoveryFile {
public:
    // "$XDG_STATE_HOME/kx52b", or "~/.local/state/kx52b" where that is not set.
    static QString directory();
    // A new, empty file for a run in the current working directory, locked by this program; the
    // reason when none can be made.
    static Status create(std::shared_ptr<RecoveryFile> &made);
    // Takes the file at `path` when no running program holds it; null otherwise.
    static std::shared_ptr<RecoveryFile> takeOver(const QString &path);

    RecoveryFile(QString path, std::unique_ptr<QFile> lock);
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile &) = delete;
    RecoveryFile &operator=(const RecoveryFile &) = delete;

    const QString &path() const { return m_path; }
    // Deletes the file and its write-ahead log: the run ended normally. The lock goes with the
    // last owner.
    void remove();

private:
    QString m_path;
    std::unique_ptr<QFile> m_lock;
};

// What a recovery file records of its run besides the records, in its table "run".
struct RunFacts {
    QString logPath;                // the log file the records were appended to, absolute
    std::int64_t logSize = -1;      // its size and modification time (ns) then; -1 when missing
    std::int64_t logTime = -1;
    bool hidesLogRecords = false;   // the log had been emptied: its file's records are not part of it

    static RunFacts of(const QString &logPath, bool hidesLogRecords);
    bool sameLogFile(const RunFacts &other) const
    {
        return logPath == other.logPath && logSize == other.logSize && logTime == other.logTime;
    }
};

// The table "run" of the recovery file attached as `schema` ("rec."): made with the facts and
// nothing unsaved yet, its facts replaced, or its word on whether the records are all saved.
Status createRunTable(Database &db, const char *schema, const RunFacts &facts);
Status updateRunFacts(Database &db, const char *schema, const RunFacts &facts);
Status setRunUnsaved(Database &db, const char *schema, bool unsaved);

// An earlier run in this working directory that ended unexpectedly with records not saved; its file
// stays locked by this program while it decides.
struct EndedRun {
    std::shared_ptr<RecoveryFile> file;
    RunFacts facts;
    bool logChanged = false; // the log file's size or time is not what it was then, or it is gone
    std::int64_t readings = 0;
    QTime first, last;       // the times of the first and last of them
};

// The ended runs of this working directory, oldest first. The file of an ended run with nothing
// unsaved holds nothing a saved file lacks and is removed; a file that cannot be read is named in
// `problems` and left as it is.
std::vector<EndedRun> findEndedRuns(QStringList &problems);

} // namespace kx::log
