#include "log_fakes.h"

#include "log/log_files.h"
#include "log/log_startup.h"
#include "log/recovery_file.h"

#include <QDir>
#include <QSignalSpy>

namespace kx::log::testing {
namespace {

// Runs are told apart by working directory, so each test works in its temporary directory.
class WorkingDirScope {
public:
    explicit WorkingDirScope(const QString &dir) : m_saved(QDir::currentPath()) { QDir::setCurrent(dir); }
    ~WorkingDirScope() { QDir::setCurrent(m_saved); }
    WorkingDirScope(const WorkingDirScope &) = delete;
    WorkingDirScope &operator=(const WorkingDirScope &) = delete;

private:
    QString m_saved;
};

struct RecoveryTest : ::testing::Test {
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList recoveryFiles() const
    {
        return QDir(RecoveryFile::directory()).entryList({QStringLiteral("*.db")}, QDir::Files);
    }
    std::vector<EndedRun> endedRuns()
    {
        QStringList problems;
        std::vector<EndedRun> runs = findEndedRuns(problems);
        EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
        return runs;
    }
    // A run of the start-up table that logs `n` readings and then ends without a word, as a crash
    // would: the table goes without being closed.
    void crashedRun(int n, int firstNo = 1)
    {
        LogTable crashed;
        ASSERT_TRUE(crashed.openStartup().ok());
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(crashed.append(record(firstNo + i, "1.234")).ok());
    }
    Status startUp()
    {
        ReadingLog log(table, clock, boxes);
        return openLogAtStartup(table, log, dialogs, boxes);
    }

    QTemporaryDir dir;
    WorkingDirScope cwd{dir.path()};
    StateDirScope state{dir.filePath(QStringLiteral("state"))};
    FakeClock clock;
    FakeBoxes boxes;
    FakeDialogs dialogs;
    LogTable table;
};

// A log table file made by a run that ended normally.
void makeLog(const QString &path)
{
    LogTable made;
    ASSERT_TRUE(made.openStartup(path).ok());
    made.close();
}

std::vector<std::int32_t> numbers(const LogTable &table)
{
    std::vector<std::int32_t> nos;
    EXPECT_TRUE(table.forEach([&](const LogRecord &r) { nos.push_back(r.no); }).ok());
    return nos;
}

TEST_F(RecoveryTest, RestoredRunGoesOnAsIfItHadNotEnded)
{
    crashedRun(3);
    {
        LogTable restored;
        ReadingLog log(restored, clock, boxes);
        boxes.choices = {"Restore"};
        ASSERT_TRUE(openLogAtStartup(restored, log, dialogs, boxes).ok());
        const TimeOfDayText time;
        EXPECT_EQ(boxes.asked, QStringList{"Readings from a run that ended unexpectedly (3 readings, from "
                                           + time(QTime(9, 30, 1)) + " to " + time(QTime(9, 30, 3)) + ")"});
        EXPECT_EQ(QFileInfo(restored.path()).canonicalFilePath(), QFileInfo(LogTable::startupPath).canonicalFilePath());
        EXPECT_TRUE(restored.hasUnsavedRecords());
        // Numbering and the repeat filter go on from the last restored record.
        ASSERT_TRUE(log.offer({"1.234", "DC", "V", "AUTO", 1}).ok());
        ASSERT_TRUE(log.offer({"2.5", "DC", "V", "AUTO", 1}).ok());
        EXPECT_EQ(numbers(restored), (std::vector<std::int32_t>{1, 2, 3, 4}));
        // It keeps the run's file, and ends as another crash.
        EXPECT_EQ(recoveryFiles().size(), 1);
    }
    boxes.choices = {"Restore"};
    ASSERT_TRUE(startUp().ok());
    EXPECT_EQ(numbers(table), (std::vector<std::int32_t>{1, 2, 3, 4}));
    table.close();
    EXPECT_TRUE(recoveryFiles().isEmpty());
}

TEST_F(RecoveryTest, OnlyAnUnexpectedEndLeavesAFileToOffer)
{
    const struct {
        const char *end;
        std::function<void(LogTable &, LogFiles &, FakeDialogs &)> act;
        std::size_t offered;
    } cases[] = {
        {"none: the program was killed", [](LogTable &, LogFiles &, FakeDialogs &) {}, 1},
        {"closed at exit", [](LogTable &t, LogFiles &, FakeDialogs &) { t.close(); }, 0},
        {"saved as a table", [](LogTable &, LogFiles &f, FakeDialogs &d) { d.answers = {u"kept.db"_qs}; f.saveAs(); }, 0},
        {"exported", [](LogTable &, LogFiles &f, FakeDialogs &d) { d.answers = {u"kept.txt"_qs}; f.saveAs(); }, 0},
        {"emptied", [](LogTable &t, LogFiles &, FakeDialogs &) { ASSERT_TRUE(t.clear().ok()); }, 0},
        {"another file opened", [](LogTable &t, LogFiles &, FakeDialogs &) { ASSERT_TRUE(t.open(u"other.db"_qs).ok()); }, 0},
    };
    makeLog(u"other.db"_qs);
    for (const auto &c : cases) {
        {
            LogTable run;
            ASSERT_TRUE(run.openStartup().ok());
            ASSERT_TRUE(run.append(record(1, "1")).ok());
            LogFiles files(run, dialogs, boxes);
            c.act(run, files, dialogs);
        }
        std::vector<EndedRun> runs = endedRuns();
        EXPECT_EQ(runs.size(), c.offered) << c.end;
        for (EndedRun &run : runs)
            run.file->remove();
        EXPECT_TRUE(recoveryFiles().isEmpty()) << c.end;
    }
}

TEST_F(RecoveryTest, SaveAsOrDiscardEndTheRunAndOpenTheStartupTable)
{
    const LocaleScope c(QLocale::c());
    crashedRun(2);
    // A save that does not happen asks again.
    boxes.choices = {"Save as…", "Save as…"};
    dialogs.answers = {std::nullopt, path("kept.txt")};
    ASSERT_TRUE(startUp().ok());
    EXPECT_EQ(boxes.asked.size(), 2);
    EXPECT_EQ(fileBytes(path("kept.txt")), "No\tTime\tDC/AC\tValue\tUnit\tAUTO\r\n"
                                           "1\t09:30:01\tDC\t1.234\tV\tAUTO\r\n2\t09:30:02\tDC\t1.234\tV\tAUTO\r\n");
    EXPECT_TRUE(table.isOpen());
    EXPECT_EQ(table.count(), 0);
    EXPECT_FALSE(table.hasUnsavedRecords());
    // Only the open log's own file is left.
    EXPECT_EQ(recoveryFiles().size(), 1);

    table.close();
    crashedRun(2);
    boxes.choices = {"Discard"};
    ASSERT_TRUE(startUp().ok());
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(recoveryFiles().size(), 1);
    EXPECT_TRUE(boxes.errors.isEmpty());
}

TEST_F(RecoveryTest, ChangedOrMissingLogFileIsSaidAndTheReadingsStillComeBack)
{
    // A run on a saved log, which another program then changes.
    {
        LogTable saved;
        ASSERT_TRUE(saved.openStartup().ok());
        for (int i = 1; i <= 3; ++i)
            ASSERT_TRUE(saved.append(record(i, "1")).ok());
        ASSERT_TRUE(saved.saveAsTable(path("bench.db")).ok());
        saved.close();
        LogTable run;
        ASSERT_TRUE(run.open(path("bench.db")).ok());
        ASSERT_TRUE(run.append(record(4, "4")).ok());
    }
    {
        LogTable other;
        ASSERT_TRUE(other.open(path("bench.db")).ok());
        ASSERT_TRUE(other.append(record(9, "9")).ok());
        ASSERT_TRUE(other.saveAsTable(path("bench.db")).ok());
        other.close();
    }
    {
        std::vector<EndedRun> runs = endedRuns();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_TRUE(runs[0].logChanged);
        EXPECT_TRUE(endedRunQuestion(runs[0]).endsWith("has changed since, or is gone: " + path("bench.db")));
        // Its record follows the file as it is now, with a key of its own: the saved copy's
        // primary key takes no two alike.
        LogTable restored;
        ASSERT_TRUE(restored.restore(runs[0]).ok());
        EXPECT_EQ(numbers(restored), (std::vector<std::int32_t>{1, 2, 3, 9, 4}));
        EXPECT_TRUE(restored.saveAsTable(path("all.db")).ok());
    }
    // With its log file gone, the record comes back alone on the start-up table.
    ASSERT_TRUE(QFile::remove(path("bench.db")));
    std::vector<EndedRun> runs = endedRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_TRUE(runs[0].logChanged);
    ASSERT_TRUE(table.restore(runs[0]).ok());
    EXPECT_EQ(table.path(), LogTable::startupPath);
    EXPECT_EQ(numbers(table), (std::vector<std::int32_t>{4}));
    EXPECT_TRUE(table.hasUnsavedRecords());
}

TEST_F(RecoveryTest, RunsOfRunningProgramsAndOtherDirectoriesAreNotTouched)
{
    // A program still running in this directory, on another log.
    makeLog(path("other.db"));
    LogTable running;
    ASSERT_TRUE(running.open(path("other.db")).ok());
    ASSERT_TRUE(running.append(record(1, "1")).ok());
    ASSERT_TRUE(running.commit().ok());
    // A run that ended in another directory.
    QTemporaryDir elsewhere;
    {
        const WorkingDirScope there(elsewhere.path());
        crashedRun(1);
    }
    ASSERT_EQ(recoveryFiles().size(), 2);
    const QStringList before = recoveryFiles();
    ASSERT_TRUE(startUp().ok());
    EXPECT_TRUE(boxes.asked.isEmpty());
    EXPECT_EQ(running.count(), 1);
    EXPECT_EQ(recoveryFiles().size(), 3);
    for (const QString &name : before)
        EXPECT_TRUE(recoveryFiles().contains(name));
    {
        const WorkingDirScope there(elsewhere.path());
        EXPECT_EQ(endedRuns().size(), 1u);
    }
}

TEST_F(RecoveryTest, NoRecoveryFileStillLogsAndSaysSoOnce)
{
    // The state directory cannot be made: a file stands where it should be.
    QFile blocker(dir.filePath(QStringLiteral("state")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ReadingLog log(table, clock, boxes);
    ASSERT_TRUE(table.openStartup().ok());
    ASSERT_TRUE(log.offer({"1", "DC", "V", "", 1}).ok());
    ASSERT_TRUE(table.commit().ok());
    ASSERT_EQ(boxes.errors.size(), 1);
    EXPECT_TRUE(boxes.errors[0].startsWith("Cannot create a recovery file in " + RecoveryFile::directory()));
    EXPECT_TRUE(boxes.errors[0].endsWith("readings are logged, but a crash loses them."));
    ASSERT_TRUE(table.clear().ok());
    ASSERT_TRUE(log.offer({"2", "DC", "V", "", 1}).ok());
    EXPECT_EQ(table.count(), 1);
    EXPECT_EQ(boxes.errors.size(), 1);
}

} // namespace
} // namespace kx::log::testing
