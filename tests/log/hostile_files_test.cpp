#include "log_fakes.h"

#include "log/log_files.h"

#include <QDir>

#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

namespace kx::log::testing {
namespace {

// What tells a file was written: size, time and inode, read without opening it (a pipe would block,
// and a file of 10 GB is not read whole).
std::tuple<std::int64_t, std::int64_t, std::int64_t, ino_t> stamp(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_ino};
}

constexpr char kLog[] = R"(CREATE TABLE log ("no" INTEGER, "time" TEXT, "value" TEXT, "Nval" REAL,
    "DC/AC" TEXT, "unit" TEXT, "Auto" TEXT, "Not" INTEGER PRIMARY KEY);)";

struct HostileFilesTest : LogFixture {
    // A saved log of `records` records at `name`.
    QString savedLog(const char *name, int records)
    {
        LogTable maker;
        EXPECT_TRUE(maker.openStartup(path(name)).ok());
        for (int i = 1; i <= records; ++i)
            EXPECT_TRUE(maker.append(record(i, "12.345")).ok());
        EXPECT_TRUE(maker.saveAsTable(path(name)).ok());
        maker.close();
        return path(name);
    }
    void writeBytes(const char *name, const QByteArray &bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    FakeDialogs dialogs;
    FakeBoxes boxes;
    LogFiles files{table, dialogs, boxes};
};

TEST_F(HostileFilesTest, RejectedWithAReasonAndTheOpenLogStays)
{
    const QByteArray good = fileBytes(savedLog("good.db", 3000));
    ASSERT_GT(good.size(), 40000);
    writeBytes("notes.DB", "No\tTime\r\n1\t10:00:00\r\nsome more text to fill a page header of the engine ....\r\n");
    writeBytes("truncated.db", good.left(good.size() / 3));
    QByteArray corrupt = good;
    corrupt.replace(good.size() / 2, 2048, QByteArray(2048, '\x5a'));
    writeBytes("corrupt.db", corrupt);
    execOn(path("other.db"), "CREATE TABLE readings (x INTEGER)");
    execOn(path("fields.db"), R"(CREATE TABLE log ("no" INTEGER, "time" TEXT, "value" TEXT, "DC/AC" TEXT,
        "unit" TEXT, "Auto" TEXT, "Not" INTEGER PRIMARY KEY))");
    execOn(path("trigger.db"), (QByteArray(kLog) + R"(CREATE TABLE seen (x);
        CREATE TRIGGER spy AFTER INSERT ON log BEGIN INSERT INTO seen VALUES (new."no"); END;)").constData());
    execOn(path("view.db"), R"(CREATE TABLE readings ("no" INTEGER, "time" TEXT, "value" TEXT, "Nval" REAL,
        "DC/AC" TEXT, "unit" TEXT, "Auto" TEXT, "Not" INTEGER PRIMARY KEY);
        CREATE VIEW log AS SELECT *, randomblob(1000000000) AS x FROM readings;)");
    execOn(path("virtual.db"), R"(CREATE VIRTUAL TABLE log USING fts5("no", "time", "value", "Nval", "DC/AC",
        "unit", "Auto", "Not"))");
    execOn(path("computed.db"), R"(CREATE TABLE log ("no" INTEGER, "time" TEXT, "Nval" REAL, "DC/AC" TEXT,
        "unit" TEXT, "Auto" TEXT, "Not" INTEGER PRIMARY KEY, "value" TEXT AS (zeroblob(900000000))))");
    ASSERT_TRUE(QFile::copy(path("good.db"), path("huge.db")));
    ASSERT_EQ(::truncate(QFile::encodeName(path("huge.db")).constData(), std::int64_t(10) << 30), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.db")).constData(), 0600), 0);
    const QString held = savedLog("held.db", 2);
    LogTable otherProgram;
    ASSERT_TRUE(otherProgram.open(held).ok());

    const struct {
        const char *file;
        const char *reason;
    } cases[] = {
        {"missing.db", "No such file or directory"},
        {"notes.DB", "file is not a database"},
        {"truncated.db", "database disk image is malformed"},
        {"corrupt.db", "it is damaged (On tree page "},
        {"other.db", "it holds no table \"log\""},
        {"fields.db", "no such column: Nval"},
        {"trigger.db", "it holds triggers or views, which no log table has"},
        {"view.db", "it holds triggers or views, which no log table has"},
        {"virtual.db", "its table \"log\" is a virtual table"},
        {"computed.db", "its table \"log\" has computed fields"},
        {"huge.db", "at 10.0 GB it is larger than any log (at most 2 GB)"},
        {"pipe.db", "it is not a regular file"},
        {"held.db", "the log table is in use by another program"},
    };
    // The log open now: a saved log with records of its own and two logged since, unsaved.
    ASSERT_TRUE(table.open(path("good.db")).ok());
    appendRecords(2, 3001);
    const QStringList stateFiles = QDir(dir.filePath("state/kx52b")).entryList(QDir::Files);
    std::vector<LogRecord> shown;
    ASSERT_TRUE(table.read(2990, 20, shown).ok());
    boxes.answer = MessageBoxes::Answer::Discard;
    for (const auto &c : cases) {
        const auto before = stamp(path(c.file));
        dialogs.answers = {path(c.file)};
        files.openOldFile();
        // The reason in full, or how it begins where the engine words it.
        EXPECT_TRUE(boxes.errors.value(0).startsWith("Cannot open " + path(c.file) + ": " + c.reason))
            << boxes.errors.value(0).toStdString();
        boxes.errors.clear();
        EXPECT_EQ(stamp(path(c.file)), before) << c.file;
        EXPECT_EQ(table.path(), path("good.db")) << c.file;
        EXPECT_EQ(table.count(), 3002) << c.file;
        EXPECT_TRUE(table.hasUnsavedRecords()) << c.file;
        std::vector<LogRecord> now;
        ASSERT_TRUE(table.read(2990, 20, now).ok());
        ASSERT_EQ(now.size(), shown.size());
        EXPECT_EQ(now.back().no, 3002) << c.file;
        EXPECT_EQ(QDir(dir.filePath("state/kx52b")).entryList(QDir::Files), stateFiles) << c.file;
    }
    // The log goes on as before, and a good file still opens.
    appendRecords(1, 3003);
    EXPECT_EQ(table.count(), 3003);
    dialogs.answers = {path("good.db")};
    files.openOldFile();
    EXPECT_TRUE(boxes.errors.isEmpty());
    EXPECT_EQ(table.count(), 3000);
}

} // namespace
} // namespace kx::log::testing
