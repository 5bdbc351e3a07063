#include "log_fakes.h"

#include "log/log_files.h"
#include "log/recovery_file.h"

#include <QDir>
#include <QSignalSpy>

#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kx::log::testing {
namespace {

// A small file system of the test's own at `where`, where the test may mount one (as root); gone
// with the object.
class SmallFileSystem {
public:
    SmallFileSystem(const QString &where, const char *size)
        : m_where(QFile::encodeName(where))
    {
        QDir().mkpath(where);
        m_mounted = ::mount("tmpfs", m_where.constData(), "tmpfs", MS_NOSUID | MS_NODEV, size) == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(m_where.constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;
    bool mounted() const { return m_mounted; }
    // Only root may mount: elsewhere the test does without.
    static bool expected() { return ::geteuid() == 0; }

private:
    QByteArray m_where;
    bool m_mounted = false;
};

// Fills the file system holding `dir` up to the last byte.
void fill(const QString &dir)
{
    QFile filler(dir + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::Append));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    for (qint64 written = 1; written > 0;)
        written = filler.write("x", 1) > 0 && filler.flush() ? 1 : 0;
}

// File access as a user without privileges for as long as it lives: root's file rights would pass
// any check. Only the file system user of this thread changes, and only when running as root.
class UnprivilegedScope {
public:
    UnprivilegedScope()
        : m_root(::geteuid() == 0)
    {
        if (m_root) {
            ::setfsgid(kNobody);
            ::setfsuid(kNobody);
        }
    }
    ~UnprivilegedScope()
    {
        if (m_root) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    UnprivilegedScope(const UnprivilegedScope &) = delete;
    UnprivilegedScope &operator=(const UnprivilegedScope &) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    bool m_root;
};

struct FileFaultsTest : LogFixture {
    void SetUp() override
    {
        LogFixture::SetUp();
        // Others may pass through, as an unprivileged user must.
        QFile::setPermissions(dir.path(), QFile::Permissions(0x7777));
        appendRecords(3000);
    }
    QStringList entries(const QString &where) const
    {
        return QDir(where).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    FakeDialogs dialogs;
    FakeBoxes boxes;
    LogFiles files{table, dialogs, boxes};
};

// Each target is tried as a table (".db") and as text (".txt"): the message names the file and why,
// the file is as it was, and nothing is left beside it.
TEST_F(FileFaultsTest, FailedSaveSaysWhyAndLeavesTheTarget)
{
    const QString full = path("full"), readOnly = path("read-only"), shared = path("shared");
    SmallFileSystem small(full, "size=256k");
    for (const QString &d : {readOnly, shared})
        ASSERT_TRUE(QDir().mkpath(d));
    const struct {
        const char *name;
        QString folder;
        QString reason;
        std::function<void()> prepare;
        bool unprivileged;
    } cases[] = {
        {"a full device", dir.path(), "it is not a regular file",
         [&] {
             for (const char *name : {"/devfull.db", "/devfull.txt"})
                 ASSERT_TRUE(QFile::link("/dev/full", dir.path() + name));
         },
         false},
        {"a full file system", full, "", [&] { fill(full); }, false},
        {"a read-only folder", readOnly, "Permission denied",
         [&] {
             // The files themselves may be written: the folder is what stops the save.
             for (const char *name : {"/old.db", "/old.txt"})
                 ASSERT_TRUE(QFile::setPermissions(readOnly + name, QFile::Permissions(0x6666)));
             ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
         },
         true},
        {"a file the user may not write", shared, "Permission denied",
         [&] {
             ASSERT_TRUE(QFile::setPermissions(shared, QFile::Permissions(0x7777)));
             for (const char *name : {"/old.db", "/old.txt"})
                 ASSERT_TRUE(QFile::setPermissions(shared + name, QFile::ReadOwner | QFile::ReadOther));
         },
         true},
    };
    for (const auto &c : cases) {
        if (c.folder == full && !small.mounted()) {
            if (SmallFileSystem::expected())
                ADD_FAILURE() << "no file system of its own for " << c.name;
            continue;
        }
        const bool device = c.reason.startsWith(u"it is not");
        const QString stem = c.folder + (device ? QStringLiteral("/devfull") : QStringLiteral("/old"));
        if (!device) {
            // Last hour's saves, which a failed save must leave as they are.
            dialogs.answers = {stem + ".db", stem + ".txt"};
            ASSERT_TRUE(files.saveAs() && files.saveAs()) << c.name;
            appendRecords(1, 3001);
        }
        c.prepare();
        const QStringList before = entries(c.folder);
        const QByteArray oldTable = device ? QByteArray() : fileBytes(stem + ".db");
        const QByteArray oldText = device ? QByteArray() : fileBytes(stem + ".txt");
        boxes.errors.clear();
        boxes.shown.clear();
        {
            std::optional<UnprivilegedScope> unprivileged;
            if (c.unprivileged)
                unprivileged.emplace();
            dialogs.answers = {stem + ".db", stem + ".txt"};
            EXPECT_FALSE(files.saveAs()) << c.name;
            EXPECT_FALSE(files.saveAs()) << c.name;
        }
        const QString reason = c.reason.isEmpty() ? QStringLiteral("database or disk is full") : c.reason;
        EXPECT_EQ(boxes.errors.value(0).toStdString(), ("Cannot write " + stem + ".db: " + reason).toStdString()) << c.name;
        const QString textReason = c.reason.isEmpty() ? QStringLiteral("No space left on device") : c.reason;
        EXPECT_EQ(boxes.shown.value(0).toStdString(),
                  ("Could not save table to specified file: " + stem + ".txt (" + textReason + ")").toStdString())
            << c.name;
        EXPECT_EQ(entries(c.folder), before) << c.name;
        // A device is not read back: /dev/full reads as zeros without end.
        if (!device) {
            EXPECT_EQ(fileBytes(stem + ".db"), oldTable) << c.name;
            EXPECT_EQ(fileBytes(stem + ".txt"), oldText) << c.name;
        }
        EXPECT_TRUE(table.hasUnsavedRecords()) << c.name;
    }
    struct stat device {};
    ASSERT_EQ(::stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));
}

// The recovery file on a file system that fills up while readings are logged.
TEST_F(FileFaultsTest, FullDiskWhileLoggingIsSaidOnceAndLoggingGoesOnAfter)
{
    table.close();
    const QString stateDir = path("small-state");
    SmallFileSystem small(stateDir, "size=512k");
    if (!small.mounted()) {
        if (SmallFileSystem::expected())
            GTEST_FAIL() << "no file system of its own";
        GTEST_SKIP() << "only root may mount a small file system";
    }
    const StateDirScope state(stateDir);
    FakeClock clock;
    std::vector<LogRecord> shown;
    {
        LogTable run;
        ReadingLog log(run, clock, boxes);
        log.setRepeatFilter(false);
        ASSERT_TRUE(run.openStartup(path("Kx52bdb.db")).ok());
        QSignalSpy resets(&run, &LogTable::contentReset);
        const auto offer = [&](int n) {
            for (int i = 0; i < n; ++i)
                ASSERT_TRUE(log.offer({QString::number(log.recordNo()), "DC", "V", "", 1}).ok());
        };
        offer(100);
        ASSERT_TRUE(run.commit().ok());
        fill(stateDir + QStringLiteral("/kx52b"));

        // Each second's batch: the first that cannot be written is dropped, and said once; the
        // readings after it are not logged while nothing can be written.
        for (int second = 0; second < 5; ++second) {
            offer(200);
            run.commit();
        }
        ASSERT_EQ(boxes.errors.size(), 1);
        EXPECT_EQ(boxes.errors[0], "database or disk is full");
        EXPECT_GE(resets.count(), 1);
        const std::int64_t kept = run.count();
        EXPECT_GE(kept, 100);
        EXPECT_LT(kept, 1100);

        // Space again: the next reading is kept, and so are those after it.
        ASSERT_TRUE(QFile::remove(stateDir + QStringLiteral("/kx52b/filler")));
        offer(50);
        ASSERT_TRUE(run.commit().ok());
        EXPECT_EQ(run.count(), kept + 50);
        EXPECT_EQ(boxes.errors.size(), 1);
        ASSERT_TRUE(run.read(0, run.count(), shown).ok());
        // The run ends without a word, as in a crash.
    }
    // What the grid showed is what the file holds.
    QStringList problems;
    std::vector<EndedRun> runs = findEndedRuns(problems);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].readings, std::int64_t(shown.size()));
    ASSERT_TRUE(table.restore(runs[0], path("Kx52bdb.db")).ok());
    std::vector<LogRecord> restored;
    ASSERT_TRUE(table.read(0, table.count(), restored).ok());
    ASSERT_EQ(restored.size(), shown.size());
    for (std::size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(restored[i].value, shown[i].value) << i;
    table.close();
}

} // namespace
} // namespace kx::log::testing
