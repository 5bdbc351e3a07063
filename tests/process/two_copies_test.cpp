// Two copies of the program in one working directory: the second is told the log table is in use,
// reads nothing of the meter, and leaves the first's table and readings alone.
#include "process_rig.h"

#include <QRegularExpression>

namespace kx::process::testing {
namespace {

using TwoCopies = ProcessTest;

TEST_F(TwoCopies, TheSecondIsToldTheTableIsInUseAndHarmsNothing)
{
    startSimulator(kBuild4k);
    const std::unique_ptr<WindowRun> first = window(kBuild4k, QStringLiteral("first"));
    first->start({QStringLiteral("log")});
    ASSERT_TRUE(first->waitFor([](const Reports &r) { return r.records.size() >= 100; }, 60000))
        << first->errors().toStdString();
    const QString table = work(log::LogTable::startupPath);
    const QByteArray tableBefore = fileBytes(table);
    // The first's recovery file, without the write-ahead log that comes and goes with its commits.
    const auto recovery = [this] { return recoveryFiles().filter(QRegularExpression(QStringLiteral("\\.db$"))); };
    const QStringList recoveryBefore = recovery();
    ASSERT_EQ(recoveryBefore.size(), 1) << recoveryBefore.join(u' ').toStdString();

    // The second ends through its own "Exit" a second after it pressed "COM Connect".
    const std::unique_ptr<WindowRun> second = window(kBuild4k, QStringLiteral("second"));
    second->start({QStringLiteral("log"), QStringLiteral("1000")});
    EXPECT_EQ(second->finish(60000), 1) << "an error box is shown";
    const std::int64_t secondEnded = nowNs();
    const std::string told = second->errors().toStdString();
    EXPECT_NE(told.find("error: "), std::string::npos) << told;
    EXPECT_NE(told.find("database is locked"), std::string::npos) << told;
    EXPECT_EQ(told.find("question: "), std::string::npos) << "the first's readings are no ended run: " << told;
    const Reports secondReports = second->reports();
    EXPECT_EQ(secondReports.connected, std::optional(false)) << "the meter's port is the first's";
    EXPECT_TRUE(secondReports.records.empty());

    EXPECT_EQ(fileBytes(table), tableBefore);
    EXPECT_EQ(recovery(), recoveryBefore);
    EXPECT_TRUE(first->waitFor([&](const Reports &r) { return r.records.back().at > secondEnded; }, 10000))
        << "the first logs on";
    const std::int64_t killedAt = first->kill();
    ASSERT_GT(killedAt, 0) << first->errors().toStdString();
    ASSERT_TRUE(runToEnd(kBuild4k, {QStringLiteral("export"), work(QStringLiteral("all.txt"))}, QStringLiteral("export")));
    const ExportFigures figures = checkExport({{first->reports().records, killedAt}},
                                              fileBytes(work(QStringLiteral("all.txt"))), readSimulatorLog(simulatorLog()));
    EXPECT_EQ(figures.runsWithRecordsKept, 1);
}

} // namespace
} // namespace kx::process::testing
