#pragma once

#include "log/log_prompts.h"
#include "log/log_table.h"
#include "log/reading_log.h"
#include "log/sqlite_db.h"

#include <QFile>
#include <QLocale>
#include <QPrinter>
#include <QTemporaryDir>

#include <deque>
#include <gtest/gtest.h>

// Readable failures: gtest shows a QString as its text.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace kx::log::testing {

class FakeClock : public Clock {
public:
    QTime now() const override { return time; }
    QTime time{13, 5, 9};
};

class FakeBoxes : public MessageBoxes {
public:
    void information(const QString &text) override { shown.push_back(text); }
    void error(const QString &text) override { errors.push_back(text); }
    Answer askSaveDiscardCancel(const QString &) override
    {
        ++questions;
        return answer;
    }
    // Answers the next of `choices` by its caption; a question nobody expected fails the test and
    // takes the last choice.
    int choose(const QString &text, const QStringList &offered, int) override
    {
        asked.push_back(text);
        const int index = choices.empty() ? -1 : int(offered.indexOf(choices.front()));
        if (index < 0) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return int(offered.size()) - 1;
        }
        choices.pop_front();
        return index;
    }
    QStringList shown;
    QStringList errors;
    int questions = 0;
    Answer answer = Answer::Cancel;
    std::deque<QString> choices;
    QStringList asked;
};

class FakeDialogs : public FileDialogs {
public:
    std::optional<QString> saveFileName(const QStringList &filters, const QString &suffix) override
    {
        saveFilters = filters;
        defaultSuffix = suffix;
        return next();
    }
    std::optional<QString> openFileName(const QStringList &) override { return next(); }
    // The print dialog prints to a PDF file at `printTo`, or is cancelled.
    bool setUpPrinter(QPrinter &printer) override
    {
        if (printTo)
            printer.setOutputFileName(*printTo);
        return printTo.has_value();
    }
    std::optional<QString> printTo;
    // Answers in order; nullopt is a cancelled dialog.
    std::deque<std::optional<QString>> answers;
    QStringList saveFilters;
    QString defaultSuffix;

private:
    std::optional<QString> next()
    {
        if (answers.empty())
            return std::nullopt;
        const bool cancelled = !answers.front();
        const QString name = answers.front().value_or(QString());
        answers.pop_front();
        return cancelled ? std::nullopt : std::optional(name);
    }
};

// Runs SQL on the SQLite file at `path`, made when missing: tables written by other programs.
inline void execOn(const QString &path, const char *sql)
{
    Database db;
    ASSERT_TRUE(db.open(path, true).ok());
    ASSERT_TRUE(db.exec(sql).ok()) << db.lastError().error.toStdString();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline LogRecord record(std::int32_t no, const char *value, const char *coupling = "DC", const char *unit = "V",
                        const char *mode = "AUTO")
{
    return {no, QTime(9, 30, no % 60), QString::fromLatin1(value), double(no), QString::fromLatin1(coupling),
            QString::fromLatin1(unit), QString::fromLatin1(mode)};
}

// Exports depend on the default locale; each test chooses one and puts the old one back.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale &locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_saved); }
    LocaleScope(const LocaleScope &) = delete;
    LocaleScope &operator=(const LocaleScope &) = delete;

private:
    QLocale m_saved;
};

// Recovery files go to a state directory of the test's own, as long as it lives.
class StateDirScope {
public:
    explicit StateDirScope(const QString &dir) : m_saved(qgetenv("XDG_STATE_HOME")) { qputenv("XDG_STATE_HOME", QFile::encodeName(dir)); }
    ~StateDirScope() { qputenv("XDG_STATE_HOME", m_saved); }
    StateDirScope(const StateDirScope &) = delete;
    StateDirScope &operator=(const StateDirScope &) = delete;

private:
    QByteArray m_saved;
};

// A log table opened on a fresh start-up file in a temporary directory.
struct LogFixture : ::testing::Test {
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    void SetUp() override { ASSERT_TRUE(table.openStartup(path("Kx52bdb.db")).ok()); }
    void appendRecords(int n, int firstNo = 1)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(table.append(record(firstNo + i, "1.234")).ok());
    }

    QTemporaryDir dir;
    StateDirScope state{dir.filePath(QStringLiteral("state"))};
    LogTable table;
};

} // namespace kx::log::testing
