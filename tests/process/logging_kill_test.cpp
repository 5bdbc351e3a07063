// The program's window killed with SIGKILL at random moments while it logs a meter streaming as
// fast as its line allows, and started again each time on the readings left behind: a kill loses
// at most the last second, and nothing is doubled or changed.
#include "process_rig.h"

#include <thread>

namespace kx::process::testing {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

constexpr int kKills = 20;
// How long a run logs at most before its kill: long enough that most runs commit records.
constexpr nanoseconds kLogging = milliseconds(3000);

using LoggingKilled = ProcessTest;

TEST_F(LoggingKilled, LosesAtMostTheLastSecondAndNothingElse)
{
    startSimulator(kBuild40k);
    std::vector<KilledRun> runs;
    // Until a run says how long its start takes.
    nanoseconds startUp = milliseconds(1000);
    for (int k = 0; k < kKills; ++k) {
        const std::unique_ptr<WindowRun> run = window(kBuild40k, QStringLiteral("log-%1").arg(k));
        const std::int64_t started = nowNs();
        run->start({QStringLiteral("log")});
        // Anywhere from the start, while the runs before are restored, to well into logging.
        std::uniform_int_distribution<std::int64_t> delay(0, (startUp + kLogging).count());
        std::this_thread::sleep_for(nanoseconds(started + delay(random) - nowNs()));
        const std::int64_t killedAt = run->kill();
        EXPECT_GT(killedAt, 0) << "run " << k << " ended before its kill: " << run->errors().toStdString();
        const Reports reports = run->reports();
        EXPECT_NE(reports.connected, std::optional(false)) << run->errors().toStdString();
        if (reports.connected)
            startUp = nanoseconds(reports.connectedAt - started);
        runs.push_back({reports.records, killedAt});
    }
    ASSERT_TRUE(runToEnd(kBuild40k, {QStringLiteral("export"), work(QStringLiteral("all.txt"))}, QStringLiteral("export")));
    EXPECT_TRUE(recoveryFiles().isEmpty()) << "the export's run ended normally";

    const ExportFigures figures = checkExport(runs, fileBytes(work(QStringLiteral("all.txt"))),
                                              readSimulatorLog(simulatorLog()));
    // A run killed before it connects keeps nothing; most live longer.
    EXPECT_GE(figures.runsWithRecordsKept, kKills / 4);
    std::printf("kills: %d, runs that kept records: %d, records kept: %lld, longest span lost before a kill: %.3f s\n",
                kKills, figures.runsWithRecordsKept, static_cast<long long>(figures.records),
                double(figures.worstLoss.count()) / 1e9);
}

} // namespace
} // namespace kx::process::testing
