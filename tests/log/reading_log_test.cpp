#include "log_fakes.h"

#include "log/sqlite_db.h"

namespace kx::log::testing {
namespace {

// One step of a session: a reading "display coupling unit mode" ('_' for an empty text) or a
// timer tick "tick".
std::vector<QString> logged(ReadingLog &log, const LogTable &table, const std::vector<const char *> &steps)
{
    for (const char *step : steps) {
        const QString text = QString::fromLatin1(step);
        if (text == u"tick") {
            log.tick();
            continue;
        }
        QStringList f = text.split(u' ');
        for (QString &field : f)
            field.replace(u"_"_qs, QString());
        EXPECT_TRUE(log.offer({f.at(0), f.at(1), f.at(2), f.at(3), 1.0f}).ok());
    }
    std::vector<QString> out;
    EXPECT_TRUE(table.forEach([&](const LogRecord &r) {
        QStringList f{r.value, r.coupling, r.unit, r.rangeMode};
        for (QString &field : f)
            field = field.isEmpty() ? u"_"_qs : field;
        out.push_back(f.join(u' '));
    }).ok());
    return out;
}

struct ReadingLogTest : LogFixture {
    FakeClock clock;
    FakeBoxes boxes;
    ReadingLog log{table, clock, boxes};
};

TEST_F(ReadingLogTest, OfferingRules)
{
    const struct {
        const char *name;
        bool repeat;
        bool sampling;
        const char *interval;
        std::int32_t limit;
        std::vector<const char *> steps;
        std::vector<QString> expected;
    } cases[] = {
        {"a steady reading once, every change once", true, false, "10", 10000,
         {"1.234 DC V AUTO", "1.234 DC V AUTO", "1.235 DC V AUTO", "1.235 DC mV AUTO", "1.235 AC mV AUTO",
          "1.235 AC mV MANU", "1.235 AC mV MANU"},
         {"1.234 DC V AUTO", "1.235 DC V AUTO", "1.235 DC mV AUTO", "1.235 AC mV AUTO", "1.235 AC mV MANU"}},
        {"repeat off logs every reading", false, false, "10", 10000,
         {"5 DC V AUTO", "5 DC V AUTO", "5 DC V AUTO"}, {"5 DC V AUTO", "5 DC V AUTO", "5 DC V AUTO"}},
        {"sampling waits for the interval's ticks", false, true, "3", 10000,
         {"tick", "tick", "tick", "1 DC V _", "2 DC V _", "tick", "tick", "3 DC V _", "tick", "4 DC V _",
          "4 DC V _", "tick", "tick", "tick", "tick", "4 DC V _"},
         {"1 DC V _", "4 DC V _", "4 DC V _"}},
        {"sampling with the repeat filter", true, true, "1", 10000,
         {"tick", "1 _ * _", "tick", "1 _ * _", "tick", "2 _ k* _"}, {"1 _ * _", "2 _ k* _"}},
        {"an empty interval counts as 0", false, true, "", 10000, {"1 DC V _", "2 DC V _"}, {"1 DC V _", "2 DC V _"}},
        {"a lone minus counts as 0", false, true, "-", 10000, {"1 DC V _", "2 DC V _"}, {"1 DC V _", "2 DC V _"}},
        {"a lone plus counts as 0", false, true, "+", 10000, {"1 DC V _", "2 DC V _"}, {"1 DC V _", "2 DC V _"}},
        {"a limit of 3 keeps 3", true, false, "10", 3,
         {"1 DC V _", "2 DC V _", "3 DC V _", "4 DC V _", "5 DC V _"}, {"1 DC V _", "2 DC V _", "3 DC V _"}},
    };
    for (const auto &c : cases) {
        LogTable fresh;
        ASSERT_TRUE(fresh.openStartup(dir.filePath(QString::fromLatin1(c.name).left(12) + ".db")).ok());
        ReadingLog session(fresh, clock, boxes);
        session.setRepeatFilter(c.repeat);
        session.setSampling(c.sampling);
        ASSERT_TRUE(session.setIntervalText(QString::fromLatin1(c.interval)).ok());
        session.setMaxRecords(c.limit);
        EXPECT_EQ(logged(session, fresh, c.steps), c.expected) << c.name;
    }
}

TEST_F(ReadingLogTest, RecordsCarryNumberTimeAndCounts)
{
    log.setRepeatFilter(false);
    clock.time = QTime(23, 59, 58);
    ASSERT_TRUE(log.offer({"-0.012", "DC", "mV", "MANU", -12.0f}).ok());
    ASSERT_TRUE(log.offer({"0L", "", "M*", "AUTO", 0.0f}).ok());
    std::vector<LogRecord> rows;
    ASSERT_TRUE(table.read(0, 2, rows).ok());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].no, 1);
    EXPECT_EQ(rows[1].no, 2);
    EXPECT_EQ(rows[0].time, QTime(23, 59, 58));
    EXPECT_DOUBLE_EQ(rows[0].nval, -12.0);
    EXPECT_EQ(rows[1].value, "0L");
    EXPECT_EQ(rows[1].coupling, "");
    EXPECT_EQ(log.recordNo(), 3);
    EXPECT_EQ(log.recordCount(), 2);
    EXPECT_EQ(log.lastLoggedText(), "0LM*AUTO");
}

TEST_F(ReadingLogTest, EmptyingSaysSoAndRestartsTheNumbering)
{
    ASSERT_TRUE(log.empty().ok());
    EXPECT_EQ(boxes.shown, QStringList{" Record deleted "});
    ASSERT_TRUE(log.offer({"1", "DC", "V", "", 1}).ok());
    ASSERT_TRUE(log.offer({"2", "DC", "V", "", 2}).ok());
    ASSERT_TRUE(log.empty().ok());
    EXPECT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(log.recordCount(), 0);
    // The repeat filter still remembers the last reading.
    ASSERT_TRUE(log.offer({"2", "DC", "V", "", 2}).ok());
    EXPECT_EQ(table.count(), 0);
    ASSERT_TRUE(log.offer({"3", "DC", "V", "", 3}).ok());
    std::vector<LogRecord> rows;
    ASSERT_TRUE(table.read(0, 1, rows).ok());
    EXPECT_EQ(rows.at(0).no, 1);
}

TEST_F(ReadingLogTest, IntervalTextThatDoesNotConvert)
{
    log.setSampling(true);
    ASSERT_TRUE(log.setIntervalText("2").ok());
    EXPECT_EQ(log.sampleTicks(), 2);
    for (const char *bad : {"99999999999", "1 2", "x"}) {
        EXPECT_EQ(log.setIntervalText(QString::fromLatin1(bad)).error,
                  QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(bad)));
        EXPECT_EQ(log.sampleTicks(), 2);
    }
    log.tick();
    log.tick();
    // Logging goes on with the last interval that converted.
    ASSERT_TRUE(log.offer({"1", "DC", "V", "", 1}).ok());
    EXPECT_EQ(table.count(), 1);
    EXPECT_EQ(log.sampleTicks(), 2);
}

TEST_F(ReadingLogTest, ClosedLogLogsNothing)
{
    table.close();
    ASSERT_TRUE(log.offer({"1", "DC", "V", "", 1}).ok());
    EXPECT_EQ(log.recordNo(), 1);
    EXPECT_EQ(log.recordCount(), 0);
    EXPECT_EQ(log.lastLoggedText(), "");
}

TEST_F(ReadingLogTest, TableThatKeepsFailingIsReportedOnce)
{
    // A saved log whose key is the largest there is takes no new records.
    ASSERT_TRUE(LogTable().openStartup(path("full.db")).ok());
    {
        Database db;
        ASSERT_TRUE(db.open(path("full.db"), false).ok());
        ASSERT_TRUE(db.exec("INSERT INTO log VALUES (1, '10:00:00', '1', 1, '', 'V', '', 9223372036854775807)").ok());
    }
    ASSERT_TRUE(table.open(path("full.db")).ok());
    log.setRepeatFilter(false);
    const LoggedReading reading{"1", "DC", "V", "", 1};
    const struct {
        bool emptyFirst;
        const char *error;
    } offers[] = {{false, "database or disk is full"}, {false, ""}, {false, ""}, {true, "database or disk is full"}};
    for (const auto &o : offers) {
        if (o.emptyFirst) {
            ASSERT_TRUE(log.empty().ok());
        }
        EXPECT_EQ(log.offer(reading).error.toStdString(), o.error);
    }
    ASSERT_TRUE(table.open(path("Kx52bdb.db")).ok());
    EXPECT_TRUE(log.offer(reading).ok());
    EXPECT_EQ(table.count(), 1);
}

TEST_F(ReadingLogTest, NumberingContinuesIntoAnOpenedFile)
{
    log.setRepeatFilter(false);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(log.offer({"1", "DC", "V", "", 1}).ok());
    ASSERT_TRUE(table.saveAsTable(path("a.db")).ok());
    ASSERT_TRUE(table.open(path("a.db")).ok());
    log.setMaxRecords(kSizeLimits[0].records);
    ASSERT_TRUE(log.offer({"1", "DC", "V", "", 1}).ok());
    std::vector<LogRecord> rows;
    ASSERT_TRUE(table.read(0, 10, rows).ok());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows.back().no, 4);
    // A limit below what is logged stops logging at once.
    log.setMaxRecords(2);
    ASSERT_TRUE(log.offer({"1", "DC", "V", "", 1}).ok());
    EXPECT_EQ(table.count(), 4);
}

} // namespace
} // namespace kx::log::testing
