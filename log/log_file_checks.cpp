#include "log/log_file_checks.h"

#include <QFile>
#include <QLocale>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kx::log {

namespace {

// Each query finds a row when its rule is broken.
struct SchemaRule {
    const char *query;
    const char *reason;
};

constexpr SchemaRule kSchemaRules[] = {
    {"SELECT 1 FROM main.sqlite_schema WHERE type IN ('trigger', 'view')",
     "it holds triggers or views, which no log table has"},
    {"SELECT 1 WHERE NOT EXISTS (SELECT 1 FROM main.sqlite_schema WHERE type = 'table' AND name = 'log' COLLATE NOCASE)",
     "it holds no table \"log\""},
    {"SELECT 1 FROM main.sqlite_schema WHERE name = 'log' COLLATE NOCASE AND sql LIKE 'CREATE VIRTUAL%'",
     "its table \"log\" is a virtual table"},
    {"SELECT 1 FROM pragma_table_xinfo('log', 'main') WHERE hidden <> 0",
     "its table \"log\" has computed fields"},
};

} // namespace

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

Status checkFileToOpen(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {systemError(errno)};
    if (!S_ISREG(st.st_mode))
        return {QStringLiteral("it is not a regular file")};
    if (st.st_size > kLargestLogFile) {
        const QLocale c = QLocale::c();
        return {QStringLiteral("at %1 it is larger than any log (at most %2)")
                    .arg(c.formattedDataSize(st.st_size, 1, QLocale::DataSizeTraditionalFormat),
                         c.formattedDataSize(kLargestLogFile, 0, QLocale::DataSizeTraditionalFormat))};
    }
    return {};
}

Status checkLogContent(Database &db)
{
    Statement check;
    if (Status s = check.prepare(db, "PRAGMA main.quick_check(1)"); !s.ok())
        return s;
    // The first problem found, after a line naming the schema.
    if (check.step() && check.text(0) != u"ok")
        return {QStringLiteral("it is damaged (%1)").arg(check.text(0).section(u'\n', -1))};
    if (!check.status().ok())
        return check.status();
    for (const SchemaRule &rule : kSchemaRules) {
        Statement broken;
        if (Status s = broken.prepare(db, rule.query); !s.ok())
            return s;
        if (broken.step())
            return {QString::fromUtf8(rule.reason)};
        if (!broken.status().ok())
            return broken.status();
    }
    return {};
}

Status checkSaveTarget(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return errno == ENOENT ? Status{} : Status{systemError(errno)};
    if (!S_ISREG(st.st_mode))
        return {QStringLiteral("it is not a regular file")};
    // Renaming the saved file over it would need no right to the file itself; the user's right to
    // change it is what counts. Opening it for writing changes nothing.
    const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {systemError(errno)};
    ::close(fd);
    return {};
}

} // namespace kx::log
