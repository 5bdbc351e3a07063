#include "log/recovery_file.h"

#include "log/log_fields.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <sys/file.h>
#include <sys/stat.h>

#include <string>

namespace kx::log {

namespace {

constexpr int kCreateAttempts = 8;

// Files of runs in the current working directory begin with this tag, so that programs in other
// directories neither offer nor take them.
QString workingDirectoryTag()
{
    const QByteArray where = QFile::encodeName(QDir::currentPath());
    return QString::fromLatin1(QCryptographicHash::hash(where, QCryptographicHash::Sha256).toHex().left(16));
}

bool lockFor(QFile &file)
{
    return ::flock(file.handle(), LOCK_EX | LOCK_NB) == 0;
}

// The open file is still the one at `path`: its program did not remove it before the lock came.
bool stillAt(const QFile &file, const QString &path)
{
    struct stat open {}, named {};
    return ::fstat(file.handle(), &open) == 0 && ::stat(QFile::encodeName(path).constData(), &named) == 0
        && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

Status writeRunFacts(Database &db, const std::string &sql, const RunFacts &facts)
{
    Statement write;
    if (Status s = write.prepare(db, sql); !s.ok())
        return s;
    write.bind(1, facts.logPath);
    write.bind(2, facts.logSize);
    write.bind(3, facts.logTime);
    write.bind(4, std::int64_t(facts.hidesLogRecords));
    return write.run();
}

// Reads what the file at `path` says of its run. `started` is false for a file whose run never got
// as far as writing its facts: it holds nothing.
Status describe(const QString &path, EndedRun &run, bool &unsaved, bool &started)
{
    Database db;
    if (Status s = db.open(path, false); !s.ok())
        return s;
    // No shared-memory file beside it: this program holds the file alone.
    if (Status s = db.exec("PRAGMA locking_mode=EXCLUSIVE"); !s.ok())
        return s;
    Statement tables;
    if (Status s = tables.prepare(db, "SELECT count(*) FROM sqlite_schema WHERE name IN ('run', 'log')"); !s.ok())
        return s;
    started = tables.step() && tables.integer(0) == 2;
    if (!started)
        return tables.status();
    Statement facts;
    if (Status s = facts.prepare(db, "SELECT logPath, logSize, logTime, hidesLog, unsaved FROM run"); !s.ok())
        return s;
    if (!facts.step())
        return facts.status().ok() ? Status{QStringLiteral("it records no run")} : facts.status();
    run.facts = {facts.text(0), facts.integer(1), facts.integer(2), facts.integer(3) != 0};
    unsaved = facts.integer(4) != 0;
    run.logChanged = !run.facts.sameLogFile(RunFacts::of(run.facts.logPath, run.facts.hidesLogRecords));

    Statement count;
    if (Status s = count.prepare(db, "SELECT count(*) FROM log"); !s.ok())
        return s;
    count.step();
    run.readings = count.integer(0);
    for (const auto &[order, time] : {std::pair{"", &run.first}, std::pair{" DESC", &run.last}}) {
        Statement end;
        const std::string sql = withLogFields("SELECT ", R"( FROM log ORDER BY "Not")") + order + " LIMIT 1";
        if (Status s = end.prepare(db, sql); !s.ok())
            return s;
        if (end.step())
            *time = recordAt(end).time;
        if (!end.status().ok())
            return end.status();
    }
    return count.status();
}

} // namespace

QString RecoveryFile::directory()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // The base directory rules ignore a relative path.
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/kx52b");
}

Status RecoveryFile::create(std::shared_ptr<RecoveryFile> &made)
{
    const QString dir = directory();
    // The readings are the user's own: nobody else reads the directory.
    if (!QFileInfo::exists(dir) && QDir().mkpath(dir))
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QString reason;
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const QString name = QStringLiteral("%1-%2.db").arg(workingDirectoryTag()).arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
        auto lock = std::make_unique<QFile>(dir + u'/' + name);
        if (!lock->open(QIODevice::ReadWrite | QIODevice::NewOnly)) {
            reason = lock->errorString();
            // Only a name that is taken is worth another try.
            if (!QFileInfo::exists(lock->fileName()))
                break;
            continue;
        }
        // A program starting in this directory this very moment may have taken it for an ended run.
        if (lockFor(*lock)) {
            made = std::make_shared<RecoveryFile>(lock->fileName(), std::move(lock));
            return {};
        }
    }
    return {reason};
}

std::shared_ptr<RecoveryFile> RecoveryFile::takeOver(const QString &path)
{
    auto lock = std::make_unique<QFile>(path);
    if (!lock->open(QIODevice::ReadWrite) || !lockFor(*lock) || !stillAt(*lock, path))
        return nullptr;
    return std::make_shared<RecoveryFile>(path, std::move(lock));
}

RecoveryFile::RecoveryFile(QString path, std::unique_ptr<QFile> lock)
    : m_path(std::move(path))
    , m_lock(std::move(lock))
{
}

RecoveryFile::~RecoveryFile() = default;

void RecoveryFile::remove()
{
    for (const char *suffix : {"-wal", "-shm", "-journal", ""})
        QFile::remove(m_path + QLatin1String(suffix));
}

RunFacts RunFacts::of(const QString &logPath, bool hidesLogRecords)
{
    RunFacts facts{QFileInfo(logPath).absoluteFilePath(), -1, -1, hidesLogRecords};
    struct stat st {};
    if (::stat(QFile::encodeName(logPath).constData(), &st) == 0) {
        facts.logSize = st.st_size;
        facts.logTime = std::int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    }
    return facts;
}

Status createRunTable(Database &db, const char *schema, const RunFacts &facts)
{
    const std::string create = std::string("CREATE TABLE ") + schema
        + "run (logPath TEXT, logSize INTEGER, logTime INTEGER, hidesLog INTEGER, unsaved INTEGER)";
    if (Status s = db.exec(create); !s.ok())
        return s;
    return writeRunFacts(db, std::string("INSERT INTO ") + schema + "run VALUES (?1, ?2, ?3, ?4, 0)", facts);
}

Status updateRunFacts(Database &db, const char *schema, const RunFacts &facts)
{
    return writeRunFacts(db, std::string("UPDATE ") + schema + "run SET logPath = ?1, logSize = ?2, logTime = ?3, hidesLog = ?4",
                         facts);
}

Status setRunUnsaved(Database &db, const char *schema, bool unsaved)
{
    return db.exec(std::string("UPDATE ") + schema + "run SET unsaved = " + (unsaved ? "1" : "0"));
}

std::vector<EndedRun> findEndedRuns(QStringList &problems)
{
    const QDir dir(RecoveryFile::directory());
    const QStringList names = dir.entryList({workingDirectoryTag() + QStringLiteral("-*.db")}, QDir::Files,
                                            QDir::Time | QDir::Reversed);
    std::vector<EndedRun> runs;
    for (const QString &name : names) {
        EndedRun run;
        run.file = RecoveryFile::takeOver(dir.filePath(name));
        if (!run.file)
            continue;
        bool unsaved = false, started = false;
        if (Status s = describe(run.file->path(), run, unsaved, started); !s.ok()) {
            problems << QStringLiteral("Cannot read the readings of a run that ended unexpectedly (%1): %2")
                            .arg(run.file->path(), s.error);
        } else if (!started || !unsaved || run.readings == 0) {
            run.file->remove();
        } else {
            runs.push_back(std::move(run));
        }
    }
    return runs;
}

} // namespace kx::log
