// Figures of the log grid `DBGrid1`: what one new record costs per turn of the event loop (the
// record appended, then the turn in which the grid follows it and repaints), with the grid shown
// offscreen, at 0, 1 and 10 million records; beside it the same turn without a grid, which is the
// table's own share; and the heap the grid takes over a log of each size.
#include "log/log_grid.h"
#include "log/log_table.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <memory>

namespace {

using namespace kx::log;

LogRecord benchRecord(std::int64_t i)
{
    return {std::int32_t(i + 1), QTime(12, 0, int(i % 60)), QString::number(i % 40000), double(i % 40000),
            QStringLiteral("DC"), QStringLiteral("mV"), QStringLiteral("AUTO")};
}

// One log that grows from one size to the next, so the ten million records are written once.
LogTable &logOf(std::int64_t records)
{
    static QTemporaryDir dir;
    static LogTable table;
    if (!table.isOpen())
        (void)table.openStartup(dir.filePath(QStringLiteral("grid.db")));
    for (std::int64_t i = table.count(); i < records; ++i)
        (void)table.append(benchRecord(i));
    return table;
}

// Heap in use, mapped blocks included (the window's backing store is one).
double heapKilobytes()
{
    const struct mallinfo2 heap = mallinfo2();
    return double(heap.uordblks + heap.hblkhd) / 1024.0;
}

std::unique_ptr<LogGrid> shownGrid(LogTable &table)
{
    auto grid = std::make_unique<LogGrid>(table, kGridWidths40k);
    grid->resize(334, 209);
    grid->show();
    QCoreApplication::processEvents();
    return grid;
}

void appendTurns(benchmark::State &state, LogTable &table)
{
    std::int64_t i = table.count();
    for (auto _ : state) {
        (void)table.append(benchRecord(i++));
        QCoreApplication::processEvents();
    }
    state.counters["records"] = double(table.count());
}

void BM_AppendTurnWithGrid(benchmark::State &state)
{
    LogTable &table = logOf(state.range(0));
    const double before = heapKilobytes();
    const std::unique_ptr<LogGrid> grid = shownGrid(table);
    state.counters["grid_heap_kB"] = heapKilobytes() - before;
    appendTurns(state, table);
}

void BM_AppendTurnTableOnly(benchmark::State &state)
{
    appendTurns(state, logOf(state.range(0)));
}

// Smallest log first, as the log only grows; the grid first at each size, so the first figure is
// taken over an empty log.
void registerFigures()
{
    for (const std::int64_t records : {0, 1'000'000, 10'000'000}) {
        benchmark::RegisterBenchmark("BM_AppendTurnWithGrid", BM_AppendTurnWithGrid)
            ->Arg(records)->ArgName("records")->Unit(benchmark::kMicrosecond)->Iterations(500);
        benchmark::RegisterBenchmark("BM_AppendTurnTableOnly", BM_AppendTurnTableOnly)
            ->Arg(records)->ArgName("records")->Unit(benchmark::kMicrosecond)->Iterations(500);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        // Fonts, style and platform caches are made by the first grid shown, not counted for any.
        QTemporaryDir dir;
        LogTable empty;
        (void)empty.openStartup(dir.filePath(QStringLiteral("warm.db")));
        shownGrid(empty);
    }
    registerFigures();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
