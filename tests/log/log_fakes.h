#pragma once

#include "log/log_prompts.h"
#include "log/log_table.h"
#include "log/reading_log.h"

#include <QFile>
#include <QTemporaryDir>

#include <deque>
#include <gtest/gtest.h>

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
    QStringList shown;
    QStringList errors;
    int questions = 0;
    Answer answer = Answer::Cancel;
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
    // Answers in order; nullopt is a cancelled dialog.
    std::deque<std::optional<QString>> answers;
    QStringList saveFilters;
    QString defaultSuffix;

private:
    std::optional<QString> next()
    {
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

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
    LogTable table;
};

} // namespace kx::log::testing
