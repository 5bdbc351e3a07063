// The program's window killed with SIGKILL in the middle of a save and of an export: the target is
// the old file or the whole new one, never a part, and the next save clears away what the cut one
// left beside it.
#include "process_rig.h"

#include "log/log_fields.h"

#include <thread>

namespace kx::process::testing {
namespace {

constexpr int kRecords = 100000;
constexpr int kKillsPerKind = 4;

// A saved log of `kRecords` readings numbered 1 up, each the value of its number.
void makeSavedLog(const QString &path)
{
    log::testing::execOn(path, log::logTableSql().c_str());
    log::testing::execOn(path, QStringLiteral(R"(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)
        INSERT INTO log ("no", "time", "value", "Nval", "DC/AC", "unit", "Auto")
        SELECT i, '12:34:56', i, i, 'DC', 'V', 'AUTO' FROM n)")
                                           .arg(kRecords)
                                           .toUtf8()
                                           .constData());
}

struct FileKilled : ProcessTest {
    // A table that opens with every record, or a text with every line, the last one whole.
    static bool whole(const QString &target)
    {
        if (!target.endsWith(u".db")) {
            const QByteArray bytes = fileBytes(target);
            return bytes.count("\r\n") == kRecords + 1
                && bytes.endsWith("\tDC\t" + QByteArray::number(kRecords) + "\tV\tAUTO\r\n");
        }
        log::LogTable check;
        std::vector<log::LogRecord> last;
        const bool complete = check.open(target).ok() && check.count() == kRecords
                              && check.read(kRecords - 1, 1, last).ok() && last.at(0).no == kRecords;
        check.close();
        return complete;
    }

    // Checking a table opens it as a log, whose recovery file goes here.
    log::testing::StateDirScope state{path(QStringLiteral("test-state"))};
};

TEST_F(FileKilled, SaveOrExportLeavesTheOldFileOrTheWholeNewOne)
{
    const QString source = work(QStringLiteral("big.db"));
    makeSavedLog(source);
    for (const QString &name : {QStringLiteral("kept.db"), QStringLiteral("kept.txt")}) {
        const QString target = work(name);
        const QStringList save{QStringLiteral("save"), source, target};
        // The old file, and how long a save of this size takes.
        const std::unique_ptr<WindowRun> first = window(kBuild40k, name + QStringLiteral("-first"));
        first->start(save);
        ASSERT_EQ(first->finish(60000), 0) << first->errors().toStdString();
        const Reports timed = first->reports();
        const std::int64_t takes = timed.savedAt - timed.savingAt;
        ASSERT_TRUE(timed.savingAt > 0 && takes > 0);
        ASSERT_TRUE(whole(target)) << name.toStdString();

        std::uniform_int_distribution<std::int64_t> into(takes / 10, takes * 9 / 10);
        int midSave = 0;
        for (int k = 0; k < kKillsPerKind; ++k) {
            const std::unique_ptr<WindowRun> run = window(kBuild40k, name + u'-' + QString::number(k));
            run->start(save);
            ASSERT_TRUE(run->waitFor([](const Reports &r) { return r.savingAt > 0; }, 60000))
                << run->errors().toStdString();
            std::this_thread::sleep_for(std::chrono::nanoseconds(run->reports().savingAt + into(random) - nowNs()));
            run->kill();
            midSave += run->reports().savedAt < 0;
            EXPECT_TRUE(whole(target)) << name.toStdString() << " kill " << k;
        }
        EXPECT_GE(midSave, 1) << name.toStdString() << ": no kill landed inside a save";
        std::printf("%s: a save of %d records takes %.0f ms; %d of %d kills landed inside one\n", qPrintable(name),
                    kRecords, double(takes) / 1e6, midSave, kKillsPerKind);
    }
    ASSERT_TRUE(runToEnd(kBuild40k, {QStringLiteral("save"), source, work(QStringLiteral("kept.db"))},
                         QStringLiteral("last")));
    EXPECT_EQ(QDir(work()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"big.db", "kept.db", "kept.txt", "Kx52bdb.db"}));
}

} // namespace
} // namespace kx::process::testing
