#include "log/log_table.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>

namespace kx::log {

namespace {

constexpr std::int64_t kStride = 256;
constexpr std::int64_t kLargestKey = std::numeric_limits<std::int64_t>::max();

// The log's fields, as every saved table holds them; "Not" is the key, filled by the table.
constexpr const char *kSchema = R"(CREATE TABLE %1log ("no" INTEGER, "time" TEXT, "value" TEXT,
    "Nval" REAL, "DC/AC" TEXT, "unit" TEXT, "Auto" TEXT, "Not" INTEGER PRIMARY KEY))";
constexpr const char *kFields = R"("no", "time", "value", "Nval", "DC/AC", "unit", "Auto")";
constexpr const char *kTimeFormat = "HH:mm:ss";

std::string sql(const char *pattern, const char *schema = "")
{
    return QString::fromLatin1(pattern).arg(QLatin1String(schema)).toStdString();
}

std::string withFields(const char *before, const char *after)
{
    return std::string(before) + kFields + after;
}

// "HH:mm:ss" as stored; anything else is no valid time.
QTime storedTime(QStringView text)
{
    const auto two = [&](int at) {
        const int hi = text[at].digitValue(), lo = text[at + 1].digitValue();
        return hi < 0 || lo < 0 ? -1 : hi * 10 + lo;
    };
    if (text.size() != 8 || text[2] != u':' || text[5] != u':')
        return {};
    return QTime(two(0), two(3), two(6));
}

LogRecord recordAt(const Statement &row)
{
    LogRecord r;
    r.no = std::int32_t(row.integer(0));
    r.time = storedTime(row.text(1));
    r.value = row.text(2);
    r.nval = row.real(3);
    r.coupling = row.text(4);
    r.unit = row.text(5);
    r.rangeMode = row.text(6);
    return r;
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa {}, sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0
        && ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

// The last system call's failure, for a save to `path`.
Status writeFailure(const QString &path)
{
    return {QStringLiteral("Cannot write %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)))};
}

// Forces a finished file to the disk before it replaces the one it is renamed over.
Status syncFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return {QStringLiteral("Cannot write %1: %2").arg(path, file.errorString())};
    if (::fsync(file.handle()) != 0)
        return writeFailure(path);
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
        return writeFailure(path);
    return {};
}

} // namespace

LogTable::LogTable(QObject *parent)
    : QObject(parent)
{
}

LogTable::~LogTable() = default;

Status LogTable::openStartup(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        Database created;
        if (Status s = created.open(path, true); !s.ok())
            return s;
        if (Status s = created.exec(sql(kSchema)); !s.ok()) {
            created.close();
            QFile::remove(path);
            return s;
        }
    }
    return open(path);
}

Status LogTable::open(const QString &path)
{
    closeQuietly();
    Status s = openFile(path);
    if (!s.ok())
        closeQuietly();
    m_unsaved = false;
    emit contentReset();
    return s;
}

Status LogTable::openFile(const QString &path)
{
    if (Status s = m_db.open(path, false); !s.ok())
        return s;
    // The lock is taken here and held until the connection closes; nothing is written, so the
    // file stays as it is. A second program gets "database is locked".
    if (Status s = m_db.exec("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;"); !s.ok())
        return s;
    if (Status s = m_fileWindow.prepare(m_db, withFields("SELECT ", " FROM main.log WHERE rowid >= ?1"
                                                         " ORDER BY rowid LIMIT ?2 OFFSET ?3"));
        !s.ok())
        return s;
    // Pending records need no journal: they are thrown away with the connection anyway.
    if (Status s = m_db.exec("PRAGMA temp.journal_mode=OFF; " + sql(kSchema, "temp.")); !s.ok())
        return s;
    if (Status s = m_pendingWindow.prepare(m_db, withFields("SELECT ", R"( FROM temp.log WHERE "Not" >= ?1)"
                                                            R"( ORDER BY "Not" LIMIT ?2)"));
        !s.ok())
        return s;
    if (Status s = m_insert.prepare(m_db, withFields("INSERT INTO temp.log (", R"(, "Not") VALUES)"
                                                     " (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)"));
        !s.ok())
        return s;
    m_path = path;
    return indexFileRecords();
}

Status LogTable::indexFileRecords()
{
    Statement rowids;
    if (Status s = rowids.prepare(m_db, "SELECT rowid FROM main.log ORDER BY rowid"); !s.ok())
        return s;
    for (m_fileCount = 0; rowids.step(); ++m_fileCount) {
        if (m_fileCount % kStride == 0)
            m_fileStarts.push_back(rowids.integer(0));
    }
    if (!rowids.status().ok())
        return rowids.status();
    Statement highest;
    if (Status s = highest.prepare(m_db, R"(SELECT max("Not") FROM main.log)"); !s.ok())
        return s;
    highest.step();
    const std::int64_t highestKey = highest.integer(0);
    m_firstPendingKey = highestKey < kLargestKey ? highestKey + 1 : kLargestKey;
    return highest.status();
}

void LogTable::close()
{
    const bool wasOpen = isOpen();
    closeQuietly();
    m_unsaved = false;
    if (wasOpen)
        emit contentReset();
}

void LogTable::closeQuietly()
{
    m_insert = {};
    m_fileWindow = {};
    m_pendingWindow = {};
    m_db.close();
    m_path.clear();
    m_fileStarts.clear();
    m_fileCount = 0;
    m_pendingCount = 0;
    m_firstPendingKey = 1;
}

Status LogTable::append(const LogRecord &record)
{
    if (!isOpen())
        return {QStringLiteral("The log is closed")};
    // The largest key stays unused, so the keys after the last record never pass it.
    if (m_pendingCount >= kLargestKey - m_firstPendingKey)
        return {QStringLiteral("database or disk is full")};
    m_insert.bind(1, std::int64_t(record.no));
    m_insert.bind(2, record.time.toString(QLatin1String(kTimeFormat)));
    m_insert.bind(3, record.value);
    m_insert.bind(4, record.nval);
    m_insert.bind(5, record.coupling);
    m_insert.bind(6, record.unit);
    m_insert.bind(7, record.rangeMode);
    m_insert.bind(8, m_firstPendingKey + m_pendingCount);
    if (Status s = m_insert.run(); !s.ok())
        return s;
    const std::int64_t row = count();
    ++m_pendingCount;
    m_unsaved = true;
    emit recordAppended(row, record);
    return {};
}

Status LogTable::clear()
{
    if (isOpen()) {
        if (Status s = m_db.exec("DELETE FROM temp.log"); !s.ok())
            return s;
    }
    m_firstPendingKey += m_pendingCount;
    m_pendingCount = 0;
    m_fileCount = 0;
    m_fileStarts.clear();
    m_unsaved = false;
    emit contentReset();
    return {};
}

Status LogTable::read(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const
{
    first = std::max<std::int64_t>(first, 0);
    n = std::min(n, count() - first);
    if (n <= 0)
        return {};
    if (first < m_fileCount) {
        const std::int64_t fromFile = std::min(n, m_fileCount - first);
        if (Status s = readFile(first, fromFile, out); !s.ok())
            return s;
        first += fromFile;
        n -= fromFile;
    }
    return n > 0 ? readPending(first - m_fileCount, n, out) : Status{};
}

Status LogTable::readFile(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const
{
    m_fileWindow.bind(1, m_fileStarts[std::size_t(first / kStride)]);
    m_fileWindow.bind(2, n);
    m_fileWindow.bind(3, first % kStride);
    while (m_fileWindow.step())
        out.push_back(recordAt(m_fileWindow));
    m_fileWindow.reset();
    return m_fileWindow.status();
}

Status LogTable::readPending(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const
{
    m_pendingWindow.bind(1, m_firstPendingKey + first);
    m_pendingWindow.bind(2, n);
    while (m_pendingWindow.step())
        out.push_back(recordAt(m_pendingWindow));
    m_pendingWindow.reset();
    return m_pendingWindow.status();
}

Status LogTable::forEach(const std::function<void(const LogRecord &)> &visit) const
{
    if (!isOpen())
        return {};
    const std::string scans[] = {
        m_fileCount > 0 ? withFields("SELECT ", " FROM main.log ORDER BY rowid") : std::string(),
        withFields("SELECT ", R"( FROM temp.log ORDER BY "Not")"),
    };
    for (const std::string &scan : scans) {
        if (scan.empty())
            continue;
        Statement rows;
        if (Status s = rows.prepare(m_db, scan); !s.ok())
            return s;
        while (rows.step())
            visit(recordAt(rows));
        if (!rows.status().ok())
            return rows.status();
    }
    return {};
}

bool LogTable::isOpenFile(const QString &path) const
{
    return isOpen() && sameFile(path, m_path);
}

bool LogTable::isLockedElsewhere(const QString &path)
{
    Database probe;
    if (!QFileInfo::exists(path) || !probe.open(path, false).ok())
        return false;
    const bool locked = !probe.exec("BEGIN EXCLUSIVE").ok() && sqlite3_errcode(probe.handle()) == SQLITE_BUSY;
    probe.exec("ROLLBACK");
    return locked;
}

Status LogTable::saveAsTable(const QString &path)
{
    const bool replacesOpenFile = isOpenFile(path);
    if (!replacesOpenFile && isLockedElsewhere(path))
        return {QStringLiteral("database is locked")};
    const QFileInfo target(path);
    QTemporaryFile scratchFile(target.absolutePath() + QStringLiteral("/.kx52b-save-XXXXXX"));
    if (!scratchFile.open())
        return {QStringLiteral("Cannot create %1: %2").arg(path, scratchFile.errorString())};
    scratchFile.close();
    const QString written = scratchFile.fileName();

    // The copy runs in the log's own connection, so pending records are read where they are. A
    // closed log saves as an empty table.
    Database scratch;
    Database *via = &m_db;
    if (!isOpen()) {
        if (Status s = scratch.open(QStringLiteral(":memory:"), true); !s.ok())
            return s;
        via = &scratch;
    }
    Statement attach;
    if (Status s = attach.prepare(*via, "ATTACH DATABASE ?1 AS dest"); !s.ok())
        return s;
    attach.bind(1, written);
    if (Status s = attach.run(); !s.ok())
        return s;
    std::string copy = "PRAGMA dest.journal_mode=OFF; PRAGMA dest.synchronous=OFF; BEGIN;" + sql(kSchema, "dest.") + ";";
    const std::string into = withFields(R"(INSERT INTO dest.log ()", R"(, "Not") SELECT )");
    if (m_fileCount > 0)
        copy += into + kFields + R"(, "Not" FROM main.log ORDER BY rowid;)";
    if (isOpen())
        copy += into + kFields + R"(, "Not" FROM temp.log ORDER BY "Not";)";
    copy += "COMMIT;";
    Status s = via->exec(copy);
    if (!s.ok())
        via->exec("ROLLBACK");
    via->exec("DETACH DATABASE dest");
    if (s.ok())
        s = syncFile(written);
    if (s.ok())
        s = givePermissions(written, path);
    if (!s.ok())
        return s;

    if (std::rename(QFile::encodeName(written).constData(), QFile::encodeName(path).constData()) != 0)
        return writeFailure(path);
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
