// Figures of the reading log: appending at growing log sizes (table and grid), memory with ten
// million pending records in the recovery file, what a commit costs per reading by batch size,
// restoring a million readings at start-up, export and table save of a million, opening a million
// and showing the grid, and building the print preview of ten thousand.
#include "log/log_files.h"
#include "log/log_grid.h"
#include "log/log_report.h"
#include "log/log_startup.h"
#include "log/log_table.h"
#include "log/reading_log.h"
#include "log/recovery_file.h"

#include <QApplication>
#include <QDir>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

using namespace kx::log;

class BenchClock : public Clock {
public:
    QTime now() const override { return QTime(12, 0, 0); }
};

class SilentBoxes : public MessageBoxes {
public:
    void information(const QString &) override {}
    void error(const QString &) override {}
    Answer askSaveDiscardCancel(const QString &) override { return Answer::Discard; }
    // "Restore" at start-up.
    int choose(const QString &, const QStringList &, int) override { return 0; }
};

class NoDialogs : public FileDialogs {
public:
    std::optional<QString> saveFileName(const QStringList &, const QString &) override { return std::nullopt; }
    std::optional<QString> openFileName(const QStringList &) override { return std::nullopt; }
    bool setUpPrinter(QPrinter &) override { return false; }
};

double residentMegabytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

LogRecord benchRecord(std::int64_t i)
{
    return {std::int32_t(i + 1), QTime(12, 0, int(i % 60)), QString::number(i % 40000), double(i % 40000),
            QStringLiteral("DC"), QStringLiteral("mV"), QStringLiteral("AUTO")};
}

double recoveryMegabytes()
{
    qint64 bytes = 0;
    for (const QFileInfo &file : QDir(RecoveryFile::directory()).entryInfoList(QDir::Files))
        bytes += file.size();
    return double(bytes) / (1024.0 * 1024.0);
}

// Records as a run logs them, committed in batches as the table's timer would.
void fill(LogTable &table, std::int64_t records)
{
    for (std::int64_t i = table.count(); i < records; ++i) {
        (void)table.append(benchRecord(i));
        if (i % 1000 == 999)
            (void)table.commit();
    }
    (void)table.commit();
}

// One log that grows from one size to the next, so the ten-million case is filled once.
LogTable &growingLog()
{
    static LogTable table;
    if (!table.isOpen())
        (void)table.openStartup(scratch().filePath(QStringLiteral("grow.db")));
    return table;
}

void BM_AppendReading(benchmark::State &state)
{
    LogTable &table = growingLog();
    fill(table, state.range(0));
    BenchClock clock;
    SilentBoxes boxes;
    ReadingLog log(table, clock, boxes);
    log.setRepeatFilter(false);
    log.setMaxRecords(INT32_MAX);
    LogGrid view(table, kGridWidths40k);
    view.resize(334, 208);
    view.show();
    QCoreApplication::processEvents();
    std::int64_t i = 0;
    for (auto _ : state) {
        const LoggedReading reading{QString::number(i++ % 40000), QStringLiteral("DC"), QStringLiteral("V"),
                                    QStringLiteral("AUTO"), 1.0f};
        benchmark::DoNotOptimize(log.offer(reading));
        // The view follows the newest record once per turn of the event loop. A real reading
        // arrives in a turn of its own, so with "turn" each one pays for that move and for the
        // repaint it causes.
        if (state.range(1))
            QCoreApplication::processEvents();
    }
    (void)table.commit();
    state.counters["records"] = double(table.count());
    state.counters["resident_MB"] = residentMegabytes();
    state.counters["recovery_MB"] = recoveryMegabytes();
}

// Readings with their commit, forced to disk, when `batch` readings go in one (time per batch, in
// real time as the disk takes it): 1 is a commit per turn of the event loop, larger batches what a
// second gathers from a fast meter or faster.
void BM_AppendAndCommit(benchmark::State &state)
{
    LogTable &table = growingLog();
    fill(table, state.range(0));
    const std::int64_t batch = state.range(1);
    std::int64_t i = table.count();
    for (auto _ : state) {
        for (std::int64_t k = 0; k < batch; ++k)
            (void)table.append(benchRecord(i++));
        benchmark::DoNotOptimize(table.commit());
    }
    state.SetItemsProcessed(state.iterations() * batch);
}

// Registered in main(), smallest log first, as the log only grows.
void registerAppendFigures()
{
    for (const std::int64_t records : {0, 1'000'000, 10'000'000}) {
        benchmark::RegisterBenchmark("BM_AppendReading", BM_AppendReading)
            ->Args({records, 0})->ArgNames({"records", "turn"})->Unit(benchmark::kMicrosecond)->Iterations(20000);
        benchmark::RegisterBenchmark("BM_AppendReading", BM_AppendReading)
            ->Args({records, 1})->ArgNames({"records", "turn"})->Unit(benchmark::kMicrosecond)->Iterations(500);
        for (const std::int64_t batch : {1, 10, 1000})
            benchmark::RegisterBenchmark("BM_AppendAndCommit", BM_AppendAndCommit)
                ->Args({records, batch})->ArgNames({"records", "batch"})->Unit(benchmark::kMicrosecond)->Iterations(200)
                ->UseRealTime();
    }
}

// A million pending records, shared by the export and save figures.
LogTable &millionLog()
{
    static LogTable table;
    if (!table.isOpen()) {
        (void)table.openStartup(scratch().filePath(QStringLiteral("million.db")));
        fill(table, 1'000'000);
    }
    return table;
}

// Start-up after a crash of a run with a million readings, answered "Restore": until the log is
// open on them.
void BM_RestoreMillion(benchmark::State &state)
{
    const QString startup = scratch().filePath(QStringLiteral("restore.db"));
    {
        LogTable crashed;
        (void)crashed.openStartup(startup);
        fill(crashed, 1'000'000);
    }
    SilentBoxes boxes;
    NoDialogs dialogs;
    BenchClock clock;
    for (auto _ : state) {
        auto table = std::make_unique<LogTable>();
        ReadingLog log(*table, clock, boxes);
        if (!openLogAtStartup(*table, log, dialogs, boxes, startup).ok() || table->count() != 1'000'000)
            state.SkipWithError("restore failed");
        // It ends as another crash, for the next round.
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
    QStringList problems;
    for (const EndedRun &run : findEndedRuns(problems))
        run.file->remove();
}
BENCHMARK(BM_RestoreMillion)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportText(benchmark::State &state)
{
    LogTable &table = millionLog();
    for (auto _ : state)
        benchmark::DoNotOptimize(saveLogAsText(table, scratch().filePath(QStringLiteral("million.txt"))));
}
BENCHMARK(BM_ExportText)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveTable(benchmark::State &state)
{
    LogTable &table = millionLog();
    for (auto _ : state)
        benchmark::DoNotOptimize(table.saveAsTable(scratch().filePath(QStringLiteral("saved.db"))));
}
BENCHMARK(BM_SaveTable)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenAndShowGrid(benchmark::State &state)
{
    const QString saved = scratch().filePath(QStringLiteral("saved.db"));
    (void)millionLog().saveAsTable(saved);
    for (auto _ : state) {
        LogTable table;
        if (!table.open(saved).ok())
            state.SkipWithError("open failed");
        LogGrid view(table, kGridWidths40k);
        view.resize(334, 208);
        view.show();
        QCoreApplication::processEvents();
        state.counters["records"] = double(table.count());
        table.close();
    }
}
BENCHMARK(BM_OpenAndShowGrid)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PrintPreview(benchmark::State &state)
{
    LogTable table;
    (void)table.openStartup(scratch().filePath(QStringLiteral("print.db")));
    fill(table, state.range(0));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        setupReportPrinter(printer);
        QPrintPreviewWidget preview(&printer);
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, &preview,
                         [&](QPrinter *target) { printLogReport(*target, table, table.count()); });
        preview.updatePreview();
        state.counters["pages"] = double(preview.pageCount());
    }
    table.close();
}
BENCHMARK(BM_PrintPreview)->Arg(10'000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Recovery files, and the runs the restore figure leaves, stay in the scratch directory.
    qputenv("XDG_STATE_HOME", QFile::encodeName(scratch().filePath(QStringLiteral("state"))));
    registerAppendFigures();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
