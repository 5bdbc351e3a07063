// The reading log killed with SIGKILL at random moments: while logging under load, in the middle of
// a save and in the middle of an export.
#include "log_fakes.h"

#include <QDir>
#include <QProcess>
#include <QTextStream>

#include <chrono>
#include <map>
#include <random>
#include <thread>

namespace kx::log::testing {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

constexpr int kLoggingKills = 20;
constexpr int kSaveKills = 4;
// A commit follows the first reading of its batch within a second; the time to write it, and a
// scheduler busy with the test and the build around it, come on top.
constexpr nanoseconds kMostLost = milliseconds(1000);
constexpr nanoseconds kSlack = milliseconds(1000);

std::int64_t nowNs()
{
    return nanoseconds(Clock::now().time_since_epoch()).count();
}

struct KillTest : ::testing::Test {
    KillTest()
    {
        QDir(dir.path()).mkpath(QStringLiteral("work"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
        driver.setProcessEnvironment(env);
        driver.setWorkingDirectory(dir.filePath(QStringLiteral("work")));
        driver.setStandardOutputFile(QProcess::nullDevice());
        driver.setStandardErrorFile(dir.filePath(QStringLiteral("driver.err")), QIODevice::Append);
    }
    QString work(const char *name) const { return dir.filePath(QStringLiteral("work/") + QString::fromLatin1(name)); }
    void start(const QStringList &args)
    {
        driver.start(QStringLiteral(KX52B_LOG_DRIVER), args);
        ASSERT_TRUE(driver.waitForStarted());
    }
    // Runs the driver to its end.
    void run(const QStringList &args)
    {
        start(args);
        ASSERT_TRUE(driver.waitForFinished(120000));
        ASSERT_EQ(driver.exitCode(), 0) << fileBytes(dir.filePath(QStringLiteral("driver.err"))).toStdString();
    }
    // Kills the driver; the moment of the kill.
    std::int64_t kill()
    {
        const std::int64_t at = nowNs();
        driver.kill();
        EXPECT_TRUE(driver.waitForFinished(10000));
        return at;
    }
    QStringList markLines() const { return QString::fromLatin1(fileBytes(dir.filePath(QStringLiteral("marks")))).split(u'\n', Qt::SkipEmptyParts); }
    std::int64_t markTime(const QString &what) const
    {
        for (const QString &line : markLines()) {
            if (line.startsWith(what + u' '))
                return line.section(u' ', -1).toLongLong();
        }
        return -1;
    }

    QTemporaryDir dir;
    StateDirScope state{dir.filePath(QStringLiteral("test-state"))};
    QProcess driver;
    std::mt19937 random{std::random_device{}()};
};

TEST_F(KillTest, LoggingKilledLosesAtMostTheLastSecond)
{
    const QString marks = dir.filePath(QStringLiteral("marks"));
    std::map<int, std::int64_t> killedAt;
    std::uniform_int_distribution<int> delayMs(100, 1600);
    for (int run = 1; run <= kLoggingKills; ++run) {
        start({QStringLiteral("log"), QString::number(run), marks});
        std::this_thread::sleep_for(milliseconds(delayMs(random)));
        killedAt[run] = kill();
    }
    run({QStringLiteral("export"), work("all.txt")});
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("state/kx52b"))).entryList(QDir::Files).isEmpty())
        << "the export ended the run normally";

    // What the driver logged, run by run: the number of each reading and when it was logged.
    std::map<int, std::vector<std::pair<int, std::int64_t>>> logged;
    for (const QString &line : markLines()) {
        const QStringList f = line.split(u' ');
        logged[f[0].toInt()].emplace_back(f[1].toInt(), f[2].toLongLong());
    }
    // The export: every line whole, the numbering running on through the restores, each run's
    // readings in order from its first, none twice.
    const QStringList lines = QString::fromLatin1(fileBytes(work("all.txt"))).split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.front(), "No\tTime\tDC/AC\tValue\tUnit\tAUTO");
    EXPECT_EQ(lines.back(), "") << "the last line ends with CR LF";
    std::map<int, int> kept;
    int lastRun = 0;
    for (int i = 1; i + 1 < lines.size(); ++i) {
        const QStringList f = lines[i].split(u'\t');
        ASSERT_EQ(f.size(), 6) << lines[i].toStdString();
        EXPECT_EQ(f[0].toInt(), i) << lines[i].toStdString();
        EXPECT_FALSE(f[1].isEmpty());
        EXPECT_EQ(f[2] + f[4] + f[5], "DCVAUTO") << lines[i].toStdString();
        const int run = f[3].section(u'.', 0, 0).toInt(), seq = f[3].section(u'.', 1).toInt();
        ASSERT_GE(run, lastRun) << lines[i].toStdString();
        lastRun = run;
        ASSERT_EQ(seq, ++kept[run]) << lines[i].toStdString();
    }
    // Per run: nothing beyond what was logged (a reading may be logged just before its mark), and
    // nothing missing that was logged more than a second before the kill.
    std::int64_t worst = 0;
    int runsWithReadings = 0;
    for (const auto &[run, readings] : logged) {
        const std::int64_t killed = killedAt.at(run);
        const int last = readings.back().first;
        EXPECT_LE(kept[run], last + 5) << "run " << run;
        runsWithReadings += kept[run] > 0;
        for (const auto &[seq, at] : readings) {
            if (seq > kept[run]) {
                worst = std::max(worst, killed - at);
                EXPECT_LE(killed - at, (kMostLost + kSlack).count()) << "run " << run << " lost reading " << seq;
                break;
            }
        }
    }
    // A run killed in its first second keeps nothing; most live longer.
    EXPECT_GE(runsWithReadings, kLoggingKills / 4);
    std::printf("kills: %d, readings kept: %lld, longest span lost before a kill: %.3f s\n", kLoggingKills,
                (long long)(lines.size() - 2), double(worst) / 1e9);
}

// Each kind of save, killed at a random moment while it writes: the target is the old file or the
// whole new one, never a part.
TEST_F(KillTest, SaveOrExportKilledLeavesTheOldFileOrTheWholeNewOne)
{
    constexpr int kRecords = 100000;
    const QString marks = dir.filePath(QStringLiteral("marks"));
    for (const char *name : {"kept.db", "kept.txt"}) {
        const QString target = work(name);
        const bool isTable = target.endsWith(u".db");
        // The old file, and how long a save of this size takes.
        QFile::remove(marks);
        run({QStringLiteral("save"), target, QString::number(kRecords), marks});
        const std::int64_t takes = markTime("saved") - markTime("saving");
        ASSERT_GT(takes, 0);
        QByteArray previous = fileBytes(target);
        const auto whole = [&](const QByteArray &bytes) {
            if (!isTable)
                return bytes.count("\r\n") == kRecords + 1 && bytes.endsWith("\tDC\t" + QByteArray::number(kRecords) + "\tV\tAUTO\r\n");
            LogTable check;
            std::vector<LogRecord> last;
            const bool complete = check.open(target).ok() && check.count() == kRecords
                && check.read(kRecords - 1, 1, last).ok() && last.at(0).no == kRecords;
            check.close();
            return complete;
        };
        ASSERT_TRUE(whole(previous));
        std::uniform_int_distribution<std::int64_t> into(takes / 10, takes * 9 / 10);
        int midSave = 0;
        for (int k = 0; k < kSaveKills; ++k) {
            QFile::remove(marks);
            start({QStringLiteral("save"), target, QString::number(kRecords), marks});
            while (markTime("saving") < 0 && driver.state() == QProcess::Running)
                std::this_thread::sleep_for(milliseconds(2));
            const std::int64_t saving = markTime("saving");
            ASSERT_GT(saving, 0);
            std::this_thread::sleep_for(nanoseconds(saving + into(random) - nowNs()));
            kill();
            midSave += markTime("saved") < 0;
            const QByteArray now = fileBytes(target);
            EXPECT_TRUE(now == previous || whole(now)) << name << " kill " << k;
            previous = now;
        }
        EXPECT_GE(midSave, 1) << name;
    }
    // The next save clears away what the saves cut short left beside their targets.
    run({QStringLiteral("save"), work("kept.db"), QStringLiteral("10"), marks});
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("work"))).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"kept.db", "kept.txt", "Kx52bdb.db"}));
}

} // namespace
} // namespace kx::log::testing
