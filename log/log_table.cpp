#include "log/log_table.h"

#include <sqlite3.h>

#include "log/log_fields.h"
#include "log/log_file_checks.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <algorithm>
#include <limits>
#include <string>

namespace kx::log {

namespace {

constexpr std::int64_t kStride = 256;
constexpr std::int64_t kLargestKey = std::numeric_limits<std::int64_t>::max();

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa {}, sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0
        && ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

Status createIfMissing(const QString &path)
{
    if (QFileInfo::exists(path))
        return {};
    Database created;
    if (Status s = created.open(path, true); !s.ok())
        return s;
    if (Status s = created.exec(logTableSql()); !s.ok()) {
        created.close();
        QFile::remove(path);
        return s;
    }
    return {};
}

} // namespace

LogTable::LogTable(QObject *parent)
    : QObject(parent)
{
    connect(&m_pending, &PendingRecords::writeFailed, this, [this](const QString &error) {
        emit contentReset();
        emit writeFailed(error);
    });
}

LogTable::~LogTable()
{
    m_pending.detach(PendingRecords::End::Keep);
}

Status LogTable::openStartup(const QString &path)
{
    if (Status s = createIfMissing(path); !s.ok())
        return {QStringLiteral("Cannot open %1: %2").arg(path, s.error)};
    return open(path);
}

Status LogTable::open(const QString &path)
{
    // The file this log holds cannot be looked at while it is held: it is taken up afresh.
    const bool reopens = isOpenFile(path);
    if (reopens)
        closeQuietly(PendingRecords::End::Run);
    File file;
    if (Status s = openChecked(path, file); !s.ok()) {
        if (reopens)
            emit contentReset();
        return s;
    }
    return takeUp(std::move(file), false, nullptr);
}

Status LogTable::restore(const EndedRun &run, const QString &startup)
{
    File file;
    Status s = openChecked(run.facts.logPath, file);
    const bool alone = !s.ok();
    if (alone) {
        s = createIfMissing(startup);
        s = s.ok() ? openChecked(startup, file) : Status{QStringLiteral("Cannot open %1: %2").arg(startup, s.error)};
    }
    if (!s.ok())
        return s;
    return takeUp(std::move(file), alone || run.facts.hidesLogRecords, run.file);
}

Status LogTable::openChecked(const QString &path, File &file)
{
    Status s = checkFileToOpen(path);
    if (s.ok())
        s = file.db.open(path, false);
    // The lock is taken here and held until the connection closes; nothing is written, so the
    // file stays as it is. A second program is told the table is in use.
    if (s.ok()) {
        s = file.db.exec("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;");
        if (!s.ok() && sqlite3_errcode(file.db.handle()) == SQLITE_BUSY)
            s.error = QStringLiteral("the log table is in use by another program, perhaps another copy of this one (%1)")
                          .arg(s.error);
    }
    if (s.ok())
        s = checkLogContent(file.db);
    if (s.ok())
        s = file.window.prepare(file.db, withLogFields("SELECT ", " FROM main.log WHERE rowid >= ?1"
                                                                  " ORDER BY rowid LIMIT ?2 OFFSET ?3"));
    if (s.ok())
        s = indexRecords(file);
    if (!s.ok())
        return {QStringLiteral("Cannot open %1: %2").arg(path, s.error)};
    file.path = path;
    return {};
}

Status LogTable::indexRecords(File &file)
{
    Statement rowids;
    if (Status s = rowids.prepare(file.db, "SELECT rowid FROM main.log ORDER BY rowid"); !s.ok())
        return s;
    for (file.count = 0; rowids.step(); ++file.count) {
        if (file.count % kStride == 0)
            file.starts.push_back(rowids.integer(0));
    }
    if (!rowids.status().ok())
        return rowids.status();
    Statement highest;
    if (Status s = highest.prepare(file.db, R"(SELECT max("Not") FROM main.log)"); !s.ok())
        return s;
    highest.step();
    file.highestKey = highest.integer(0);
    return highest.status();
}

Status LogTable::takeUp(File &&file, bool hideRecords, std::shared_ptr<RecoveryFile> restored)
{
    // The run on the log that was open ends here: its records were saved or given up.
    closeQuietly(PendingRecords::End::Run);
    m_file = std::move(file);
    Status s = startPending(hideRecords, keyAfterFile(), std::move(restored));
    m_unsaved = s.ok() && m_pending.count() > 0;
    emit contentReset();
    return s;
}

std::int64_t LogTable::keyAfterFile() const
{
    return m_file.highestKey < kLargestKey ? m_file.highestKey + 1 : kLargestKey;
}

Status LogTable::startPending(bool hideRecords, std::int64_t firstKey, std::shared_ptr<RecoveryFile> restored)
{
    if (hideRecords) {
        m_file.count = 0;
        m_file.starts.clear();
    }
    QString warning;
    const Status s = m_pending.attach(m_file.db, RunFacts::of(m_file.path, hideRecords), firstKey,
                                      std::move(restored), warning);
    if (!s.ok()) {
        closeQuietly(PendingRecords::End::Keep);
        return {QStringLiteral("Cannot open %1: %2").arg(m_file.path, s.error)};
    }
    if (warning.isEmpty())
        m_toldNoRecovery = false;
    else if (!std::exchange(m_toldNoRecovery, true))
        emit writeFailed(warning);
    return {};
}

void LogTable::close()
{
    const bool wasOpen = isOpen();
    closeQuietly(PendingRecords::End::Run);
    if (wasOpen)
        emit contentReset();
}

void LogTable::closeQuietly(PendingRecords::End end)
{
    m_pending.detach(end);
    // The statement goes before its connection, which closes only without statements.
    m_file.window = {};
    m_file = {};
    m_unsaved = false;
}

Status LogTable::append(const LogRecord &record)
{
    if (!isOpen())
        return {kNoLogOpen};
    const std::int64_t row = count();
    if (Status s = m_pending.append(record); !s.ok())
        return s;
    m_unsaved = true;
    emit recordAppended(row, record);
    return {};
}

Status LogTable::clear()
{
    if (!isOpen())
        return {kNoLogOpen};
    // Keys go on after the dropped records.
    const std::int64_t firstKey = m_pending.nextKey();
    m_pending.detach(PendingRecords::End::Run);
    const Status s = startPending(true, firstKey, nullptr);
    m_unsaved = false;
    emit contentReset();
    return s;
}

void LogTable::markSaved()
{
    m_unsaved = false;
    m_pending.markSaved();
}

Status LogTable::read(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const
{
    first = std::max<std::int64_t>(first, 0);
    n = std::min(n, count() - first);
    if (n <= 0)
        return {};
    if (first < m_file.count) {
        const std::int64_t fromFile = std::min(n, m_file.count - first);
        if (Status s = readFile(first, fromFile, out); !s.ok())
            return s;
        first += fromFile;
        n -= fromFile;
    }
    return n > 0 ? m_pending.read(first - m_file.count, n, out) : Status{};
}

Status LogTable::readFile(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const
{
    Statement &window = m_file.window;
    window.bind(1, m_file.starts[std::size_t(first / kStride)]);
    window.bind(2, n);
    window.bind(3, first % kStride);
    while (window.step())
        out.push_back(recordAt(window));
    window.reset();
    return window.status();
}

Status LogTable::forEach(const std::function<void(const LogRecord &)> &visit) const
{
    if (!isOpen())
        return {};
    const std::string scans[] = {
        m_file.count > 0 ? withLogFields("SELECT ", " FROM main.log ORDER BY rowid") : std::string(),
        withLogFields("SELECT ", R"( FROM rec.log ORDER BY "Not")"),
    };
    for (const std::string &scan : scans) {
        if (scan.empty())
            continue;
        Statement rows;
        if (Status s = rows.prepare(m_file.db, scan); !s.ok())
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
    return isOpen() && sameFile(path, m_file.path);
}

} // namespace kx::log
