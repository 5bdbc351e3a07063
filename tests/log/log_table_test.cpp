#include "log_fakes.h"

#include "log/sqlite_db.h"

#include <QDir>
#include <QFileInfo>

namespace kx::log::testing {
namespace {

using LogTableTest = LogFixture;

std::vector<std::int32_t> numbers(const LogTable &table, std::int64_t first, std::int64_t n)
{
    std::vector<LogRecord> rows;
    EXPECT_TRUE(table.read(first, n, rows).ok());
    std::vector<std::int32_t> nos;
    for (const LogRecord &r : rows)
        nos.push_back(r.no);
    return nos;
}

std::vector<std::int32_t> range(std::int32_t from, std::int32_t to)
{
    std::vector<std::int32_t> v;
    for (std::int32_t i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

std::int64_t scalar(const QString &path, const char *sql)
{
    Database db;
    Statement st;
    EXPECT_TRUE(db.open(path, false).ok());
    EXPECT_TRUE(st.prepare(db, sql).ok());
    EXPECT_TRUE(st.step());
    return st.integer(0);
}

TEST_F(LogTableTest, LoggingNeverChangesTheFileAndClosingDiscardsPending)
{
    const QByteArray before = fileBytes(table.path());
    ASSERT_FALSE(before.isEmpty());
    appendRecords(300);
    EXPECT_EQ(table.count(), 300);
    EXPECT_EQ(numbers(table, 0, 300), range(1, 300));
    std::vector<LogRecord> rows;
    ASSERT_TRUE(table.read(7, 1, rows).ok());
    EXPECT_EQ(rows.at(0).time, QTime(9, 30, 8));
    EXPECT_EQ(rows.at(0).value, "1.234");
    EXPECT_EQ(rows.at(0).unit, "V");
    EXPECT_TRUE(table.hasUnsavedRecords());
    ASSERT_TRUE(table.clear().ok());
    appendRecords(2);
    EXPECT_EQ(fileBytes(table.path()), before);
    const QString file = table.path();
    table.close();
    EXPECT_EQ(fileBytes(file), before);
    ASSERT_TRUE(table.open(file).ok());
    EXPECT_EQ(table.count(), 0);
    EXPECT_FALSE(table.hasUnsavedRecords());
}

TEST_F(LogTableTest, SecondUserOfTheFileGetsTheEngineError)
{
    LogTable second;
    const Status s = second.open(table.path());
    EXPECT_EQ(s.error, "Cannot open " + table.path()
                           + ": the log table is in use by another program, perhaps another copy of this one "
                             "(database is locked)");
    EXPECT_FALSE(second.isOpen());
    table.close();
    EXPECT_TRUE(second.open(path("Kx52bdb.db")).ok());
}

TEST_F(LogTableTest, TableSaveRoundTripsByteForByte)
{
    appendRecords(700);
    ASSERT_TRUE(table.saveAsTable(path("a.db")).ok());
    ASSERT_TRUE(table.open(path("a.db")).ok());
    EXPECT_EQ(table.count(), 700);
    EXPECT_FALSE(table.hasUnsavedRecords());
    ASSERT_TRUE(table.saveAsTable(path("b.db")).ok());
    const QByteArray a = fileBytes(path("a.db")), b = fileBytes(path("b.db"));
    EXPECT_GT(a.size(), 700 * 20);
    EXPECT_EQ(a.size(), b.size());
    EXPECT_EQ(a, b);

    // Pending records follow the file's and get keys of their own.
    appendRecords(5, 701);
    EXPECT_EQ(numbers(table, 695, 10), range(696, 705));
    ASSERT_TRUE(table.saveAsTable(path("c.db")).ok());
    table.close();
    EXPECT_EQ(scalar(path("c.db"), R"(SELECT count(DISTINCT "Not") FROM log)"), 705);
    EXPECT_EQ(scalar(path("c.db"), R"(SELECT "no" FROM log ORDER BY "Not" DESC LIMIT 1)"), 705);
    EXPECT_EQ(scalar(path("c.db"), R"(SELECT pk FROM pragma_table_info('log') WHERE name = 'Not')"), 1);
}

TEST_F(LogTableTest, RowsAreFoundWhateverTheFileKeys)
{
    // A table written elsewhere, with gaps between its keys.
    execOn(path("gaps.db"), R"(CREATE TABLE log ("no" INTEGER, "time" TEXT, "value" TEXT, "Nval" REAL,
        "DC/AC" TEXT, "unit" TEXT, "Auto" TEXT, "Not" INTEGER PRIMARY KEY);
        WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600)
        INSERT INTO log SELECT i, '10:00:00', '0.5', 5, 'AC', 'mA', 'MANU', i * 10 FROM n;)");
    ASSERT_TRUE(table.open(path("gaps.db")).ok());
    appendRecords(10, 601);
    EXPECT_EQ(table.count(), 610);
    EXPECT_EQ(numbers(table, 250, 20), range(251, 270));
    EXPECT_EQ(numbers(table, 511, 1), range(512, 512));
    EXPECT_EQ(numbers(table, 595, 10), range(596, 605));
    EXPECT_EQ(numbers(table, 605, 100), range(606, 610));
    ASSERT_TRUE(table.saveAsTable(path("copy.db")).ok());
    table.close();
    EXPECT_EQ(scalar(path("copy.db"), R"(SELECT count(DISTINCT "Not") FROM log)"), 610);
}

TEST_F(LogTableTest, RecordsStopWhenTheKeysRunOut)
{
    const struct {
        const char *file;
        const char *key;
        int appended;
    } cases[] = {
        {"largest.db", "9223372036854775807", 0},
        {"nearly.db", "9223372036854775804", 2},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(LogTable().openStartup(path(c.file)).ok());
        execOn(path(c.file), qPrintable(QStringLiteral("INSERT INTO log VALUES (1, '10:00:00', '1', 1, '', 'V', '', %1)")
                                            .arg(QLatin1String(c.key))));
        ASSERT_TRUE(table.open(path(c.file)).ok()) << c.file;
        for (int i = 0; i < c.appended; ++i)
            ASSERT_TRUE(table.append(record(2 + i, "2")).ok()) << c.file;
        EXPECT_EQ(table.append(record(9, "9")).error, "database or disk is full") << c.file;
        ASSERT_TRUE(table.clear().ok());
        EXPECT_FALSE(table.append(record(9, "9")).ok()) << c.file;
        ASSERT_TRUE(table.open(path(c.file)).ok());
        appendRecords(c.appended, 2);
        ASSERT_TRUE(table.saveAsTable(path("copy.db")).ok());
        EXPECT_EQ(scalar(path("copy.db"), R"(SELECT count(DISTINCT "Not") FROM log)"), 1 + c.appended) << c.file;
    }
}

TEST_F(LogTableTest, EmptyingHidesTheFileRecordsButNotTheFile)
{
    appendRecords(5);
    ASSERT_TRUE(table.saveAsTable(path("a.db")).ok());
    ASSERT_TRUE(table.open(path("a.db")).ok());
    const QByteArray saved = fileBytes(path("a.db"));
    appendRecords(2, 6);
    ASSERT_TRUE(table.clear().ok());
    EXPECT_EQ(table.count(), 0);
    appendRecords(1, 1);
    EXPECT_EQ(numbers(table, 0, 10), range(1, 1));
    ASSERT_TRUE(table.saveAsTable(path("b.db")).ok());
    EXPECT_EQ(fileBytes(path("a.db")), saved);
    table.close();
    EXPECT_EQ(scalar(path("b.db"), "SELECT count(*) FROM log"), 1);
}

TEST_F(LogTableTest, SavingOntoTheOpenFileKeepsTheLog)
{
    appendRecords(3);
    ASSERT_TRUE(table.saveAsTable(path("a.db")).ok());
    ASSERT_TRUE(table.open(path("a.db")).ok());
    appendRecords(2, 4);
    ASSERT_TRUE(table.saveAsTable(path("a.db")).ok());
    EXPECT_TRUE(table.isOpen());
    EXPECT_EQ(numbers(table, 0, 10), range(1, 5));
    LogTable other;
    EXPECT_TRUE(other.open(path("a.db")).error.startsWith("Cannot open " + path("a.db") + ": the log table is in use"));
    table.close();
    ASSERT_TRUE(other.open(path("a.db")).ok());
    EXPECT_EQ(numbers(other, 0, 10), range(1, 5));
}

TEST_F(LogTableTest, SavedTableHasTheUsualPermissions)
{
    // What any new file of this user gets, not a temporary file's owner-only access.
    QFile plain(path("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    const QFile::Permissions usual = plain.permissions();
    const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
        | QFile::ReadGroup | QFile::WriteGroup;
    const struct {
        const char *file;
        std::optional<QFile::Permissions> before;
        QFile::Permissions after;
    } cases[] = {
        {"new.db", std::nullopt, usual},
        {"replaced.db", shared, shared},
    };
    appendRecords(2);
    for (const auto &c : cases) {
        if (c.before) {
            ASSERT_TRUE(table.saveAsTable(path(c.file)).ok());
            ASSERT_TRUE(QFile::setPermissions(path(c.file), *c.before));
        }
        ASSERT_TRUE(table.saveAsTable(path(c.file)).ok());
        EXPECT_EQ(QFile::permissions(path(c.file)), c.after) << c.file;
    }
}

TEST_F(LogTableTest, FailedSaveLeavesTheOldFile)
{
    appendRecords(4);
    ASSERT_TRUE(table.saveAsTable(path("a.db")).ok());
    const QByteArray good = fileBytes(path("a.db"));
    // Two records with the same key cannot be saved: the copy fails half-way.
    execOn(path("dup.db"), R"(CREATE TABLE log ("no" INTEGER, "time" TEXT, "value" TEXT, "Nval" REAL,
        "DC/AC" TEXT, "unit" TEXT, "Auto" TEXT, "Not" INTEGER);
        INSERT INTO log VALUES (1, '10:00:00', '1', 1, '', 'V', '', 7), (2, '10:00:01', '2', 2, '', 'V', '', 7);)");
    ASSERT_TRUE(table.open(path("dup.db")).ok());
    EXPECT_EQ(table.saveAsTable(path("a.db")).error.toStdString(),
              "Cannot write " + path("a.db").toStdString() + ": UNIQUE constraint failed: log.Not");
    EXPECT_EQ(fileBytes(path("a.db")), good);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    EXPECT_FALSE(table.saveAsTable(path("no/such/dir/x.db")).ok());
}

} // namespace
} // namespace kx::log::testing
