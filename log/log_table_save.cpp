// Saving the log as a new log table.
#include "log/log_fields.h"
#include "log/log_file_checks.h"
#include "log/log_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace kx::log {

namespace {

constexpr const char *kScratchPrefix = ".kx52b-save-";

// The files of saves that a crash or a kill cut short: no running save holds their lock.
void removeInterruptedSaves(const QDir &dir)
{
    for (const QString &name : dir.entryList({QLatin1String(kScratchPrefix) + u'*'}, QDir::Files | QDir::Hidden)) {
        QFile stale(dir.filePath(name));
        if (stale.open(QIODevice::ReadWrite) && ::flock(stale.handle(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(QFile::encodeName(stale.fileName()).constData());
    }
}

Status cannotWrite(const QString &path, const QString &reason)
{
    return {QStringLiteral("Cannot write %1: %2").arg(path, reason)};
}

// Forces a finished file to the disk before it replaces the one it is renamed over.
Status syncFile(const QString &written, const QString &path)
{
    QFile file(written);
    if (!file.open(QIODevice::ReadWrite))
        return cannotWrite(path, file.errorString());
    if (::fsync(file.handle()) != 0)
        return cannotWrite(path, systemError(errno));
    return {};
}

mode_t processUmask()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0)
            return mode_t(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 022;
}

// A saved file that replaces another keeps that file's permissions; a new one gets what the user's
// new files get, not the owner-only access of the temporary file it was written as.
Status givePermissions(const QString &written, const QString &path)
{
    struct stat replaced {};
    const bool replaces = ::stat(QFile::encodeName(path).constData(), &replaced) == 0;
    const mode_t mode = replaces ? replaced.st_mode & 07777 : 0666 & ~processUmask();
    if (::chmod(QFile::encodeName(written).constData(), mode) != 0)
        return cannotWrite(path, systemError(errno));
    return {};
}

} // namespace

bool LogTable::isLockedElsewhere(const QString &path)
{
    Database probe;
    if (!checkFileToOpen(path).ok() || !probe.open(path, false).ok())
        return false;
    const bool locked = !probe.exec("BEGIN EXCLUSIVE").ok() && sqlite3_errcode(probe.handle()) == SQLITE_BUSY;
    probe.exec("ROLLBACK");
    return locked;
}

Status LogTable::saveAsTable(const QString &path)
{
    if (!isOpen())
        return {kNoLogOpen};
    const bool replacesOpenFile = isOpenFile(path);
    if (Status s = checkSaveTarget(path); !s.ok())
        return cannotWrite(path, s.error);
    if (!replacesOpenFile && isLockedElsewhere(path))
        return cannotWrite(path, QStringLiteral("database is locked"));
    // The copy below attaches the new file, which cannot happen inside a transaction.
    commit();
    const QDir folder = QFileInfo(path).absoluteDir();
    removeInterruptedSaves(folder);
    QTemporaryFile scratchFile(folder.filePath(QLatin1String(kScratchPrefix) + QStringLiteral("XXXXXX")));
    if (!scratchFile.open())
        return cannotWrite(path, scratchFile.errorString());
    // Locked until the save ends, so that no other save takes it for the remains of one cut short.
    // It stays open until the engine lets go of it: closing it earlier would drop the engine's locks.
    ::flock(scratchFile.handle(), LOCK_EX);
    const QString written = scratchFile.fileName();

    // The copy runs in the log's own connection, so pending records are read where they are.
    Database &db = m_file.db;
    Statement attach;
    if (Status s = attach.prepare(db, "ATTACH DATABASE ?1 AS dest"); !s.ok())
        return cannotWrite(path, s.error);
    attach.bind(1, written);
    if (Status s = attach.run(); !s.ok())
        return cannotWrite(path, s.error);
    std::string copy = "PRAGMA dest.journal_mode=MEMORY; PRAGMA dest.synchronous=OFF; BEGIN;" + logTableSql("dest.") + ";";
    const std::string into = withLogFields(R"(INSERT INTO dest.log ()", R"(, "Not") SELECT )");
    if (m_file.count > 0)
        copy += into + kLogFields + R"(, "Not" FROM main.log ORDER BY rowid;)";
    copy += into + kLogFields + ", " + m_pending.keySql() + R"( FROM rec.log ORDER BY "Not";)";
    copy += "COMMIT;";
    Status s = db.exec(copy);
    if (!s.ok() && db.inTransaction())
        db.exec("ROLLBACK");
    db.exec("DETACH DATABASE dest");
    if (!s.ok())
        return cannotWrite(path, s.error);
    if (s = syncFile(written, path); !s.ok())
        return s;
    if (s = givePermissions(written, path); !s.ok())
        return s;

    if (std::rename(QFile::encodeName(written).constData(), QFile::encodeName(path).constData()) != 0)
        return cannotWrite(path, systemError(errno));
    scratchFile.setAutoRemove(false);
    // The log's connection still reads the file that was replaced; the new file holds the same
    // records, so the log moves onto it and keeps it locked against other programs.
    if (replacesOpenFile) {
        s = open(path);
        m_unsaved = false;
    }
    return s;
}

} // namespace kx::log
