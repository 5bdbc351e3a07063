#include "log_fakes.h"

#include "log/log_files.h"
#include "log/log_print.h"

#include <QLocale>

namespace kx::log::testing {
namespace {

struct LogFilesTest : LogFixture {
    QString saveAs(const char *name)
    {
        dialogs.answers.push_back(path(name));
        files.saveAs();
        return path(name);
    }

    FakeDialogs dialogs;
    FakeBoxes boxes;
    LogFiles files{table, dialogs, boxes};
};

constexpr char kHeader[] = "No\tTime\tDC/AC\tValue\tUnit\tAUTO\r\n";

TEST_F(LogFilesTest, TextExportByteForByte)
{
    const LocaleScope c(QLocale::c());
    ASSERT_TRUE(table.append(record(1, "-1.234", "DC", "mV", "AUTO")).ok());
    ASSERT_TRUE(table.append(record(2, "0.0L", "", "M*", "")).ok());
    const QString txt = saveAs("log.txt");
    EXPECT_EQ(fileBytes(txt), QByteArray(kHeader) + "1\t09:30:01\tDC\t-1.234\tmV\tAUTO\r\n"
                                                    "2\t09:30:02\t\t0.0L\tM*\t\r\n");
    EXPECT_EQ(boxes.shown.last(), "save table to specified file: " + txt + " Scuss!");
    EXPECT_EQ(dialogs.saveFilters, kSaveFilters);
    EXPECT_EQ(dialogs.defaultSuffix, "xls");
    // Only the name differs between the offered kinds of text.
    EXPECT_EQ(fileBytes(saveAs("log.xls")), fileBytes(txt));
    EXPECT_EQ(fileBytes(saveAs("log.DB")), fileBytes(txt));
    EXPECT_TRUE(fileBytes(saveAs("log.db")).startsWith(QByteArray("SQLite format 3", 16)));
    EXPECT_TRUE(boxes.errors.isEmpty());
}

TEST_F(LogFilesTest, EmptyLogExportsTheHeaderAlone)
{
    EXPECT_EQ(fileBytes(saveAs("empty.txt")), kHeader);
}

TEST_F(LogFilesTest, ExportIgnoresTheNumberLocale)
{
    const LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    appendRecords(1, 12345);
    const QByteArray text = fileBytes(saveAs("de.txt"));
    EXPECT_EQ(text, QByteArray(kHeader) + "12345\t09:30:45\tDC\t1.234\tV\tAUTO\r\n");
}

TEST_F(LogFilesTest, FailedWritesKeepWhatWasThere)
{
    appendRecords(2);
    const QString missing = path("no/such/dir/log.txt");
    saveAs("no/such/dir/log.txt");
    EXPECT_EQ(boxes.shown, QStringList{"Could not save table to specified file: " + missing + " (No such file or directory)"});
    EXPECT_TRUE(table.hasUnsavedRecords());

    // Text over the open log table would destroy it.
    ASSERT_TRUE(table.saveAsTable(path("run.DB")).ok());
    ASSERT_TRUE(table.open(path("run.DB")).ok());
    appendRecords(1, 3);
    const QByteArray logFile = fileBytes(path("run.DB"));
    dialogs.answers.push_back(path("run.DB"));
    EXPECT_FALSE(files.saveAs());
    const QString inUse = QStringLiteral(" (it is a log table in use)");
    EXPECT_EQ(boxes.shown.last(), "Could not save table to specified file: " + path("run.DB") + inUse);
    EXPECT_EQ(fileBytes(path("run.DB")), logFile);

    // Nor over a table another program has open.
    LogTable other;
    ASSERT_TRUE(other.openStartup(path("other.db")).ok());
    const QByteArray otherFile = fileBytes(path("other.db"));
    saveAs("other.db");
    EXPECT_EQ(boxes.errors, QStringList{"Cannot write " + path("other.db") + ": database is locked"});
    ASSERT_TRUE(QFile::rename(path("other.db"), path("other.DB")));
    other.close();
    ASSERT_TRUE(other.open(path("other.DB")).ok());
    saveAs("other.DB");
    EXPECT_EQ(boxes.shown.last(), "Could not save table to specified file: " + path("other.DB") + inUse);
    EXPECT_EQ(fileBytes(path("other.DB")), otherFile);

    saveAs("no/such/dir/log.db");
    ASSERT_EQ(boxes.errors.size(), 2);
    EXPECT_TRUE(table.hasUnsavedRecords());
}

TEST_F(LogFilesTest, AskBeforeDiscarding)
{
    using A = MessageBoxes::Answer;
    const struct {
        const char *name;
        int records;
        A answer;
        std::optional<QString> saveTo;
        bool proceeds;
        int questions;
    } cases[] = {
        {"nothing logged", 0, A::Cancel, std::nullopt, true, 0},
        {"cancel", 3, A::Cancel, std::nullopt, false, 1},
        {"discard", 3, A::Discard, std::nullopt, true, 1},
        {"save", 3, A::Save, "kept.txt", true, 1},
        {"save, dialog cancelled", 3, A::Save, std::nullopt, false, 1},
        {"save fails", 3, A::Save, "no/dir/x.txt", false, 1},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(table.open(path("Kx52bdb.db")).ok());
        appendRecords(c.records);
        boxes.questions = 0;
        boxes.answer = c.answer;
        dialogs.answers = {c.saveTo ? std::optional(path(c.saveTo->toLatin1())) : std::nullopt};
        EXPECT_EQ(files.askBeforeDiscarding(), c.proceeds) << c.name;
        EXPECT_EQ(boxes.questions, c.questions) << c.name;
    }
    EXPECT_EQ(fileBytes(path("kept.txt")).count('\n'), 4);
    // Once saved, nothing is lost: no question.
    saveAs("again.txt");
    boxes.questions = 0;
    EXPECT_TRUE(files.askBeforeDiscarding());
    EXPECT_EQ(boxes.questions, 0);
}

TEST_F(LogFilesTest, OpenTakesThePathAsChosen)
{
    appendRecords(4);
    const QString saved = saveAs("Bench run.db");
    ASSERT_TRUE(table.open(path("Kx52bdb.db")).ok());
    appendRecords(1);

    boxes.answer = MessageBoxes::Answer::Cancel;
    dialogs.answers = {saved};
    files.openOldFile();
    EXPECT_NE(table.path(), saved);
    EXPECT_EQ(table.count(), 1);

    boxes.answer = MessageBoxes::Answer::Discard;
    dialogs.answers = {saved};
    files.openOldFile();
    EXPECT_EQ(table.path(), saved);
    EXPECT_EQ(table.count(), 4);
    EXPECT_TRUE(boxes.errors.isEmpty());

    // A name that differs in case is another file; the log that was open stays.
    appendRecords(1, 5);
    dialogs.answers = {path("bench run.db")};
    files.openOldFile();
    EXPECT_EQ(boxes.errors, QStringList{"Cannot open " + path("bench run.db") + ": No such file or directory"});
    EXPECT_EQ(table.path(), saved);
    EXPECT_EQ(table.count(), 5);
    EXPECT_TRUE(table.hasUnsavedRecords());
}

TEST_F(LogFilesTest, ClosedLogChangesNoFile)
{
    // A saved log of hours that a save of nothing would replace.
    FakeClock clock;
    ReadingLog log(table, clock, boxes);
    for (const char *value : {"1", "2", "3"})
        ASSERT_TRUE(log.offer({value, "DC", "V", "", 1}).ok());
    const QString saved = saveAs("hours.db");
    const QString text = saveAs("hours.txt");
    const QByteArray savedBytes = fileBytes(saved), textBytes = fileBytes(text);
    table.close();
    boxes.shown.clear();

    for (const QString &target : {saved, text}) {
        dialogs.answers = {target};
        EXPECT_FALSE(files.saveAs());
        EXPECT_EQ(dialogs.answers.size(), 1u) << "no dialog while no log is open";
    }
    EXPECT_EQ(table.saveAsTable(saved).error, kNoLogOpen);
    EXPECT_FALSE(saveLogAsText(table, text).ok());
    ASSERT_TRUE(log.empty().ok());
    EXPECT_EQ(log.recordNo(), 4);
    EXPECT_EQ(log.recordCount(), 3);
    printLog(table, boxes, dialogs, nullptr);
    EXPECT_EQ(boxes.shown, QStringList(4, kNoLogOpen));
    EXPECT_EQ(fileBytes(saved), savedBytes);
    EXPECT_EQ(fileBytes(text), textBytes);
    EXPECT_TRUE(boxes.errors.isEmpty());
}

} // namespace
} // namespace kx::log::testing
