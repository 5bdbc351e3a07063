// Cost of the trend chart as it grows: adding a reading, and redrawing a page or a whole chart of
// a million points into a picture, as the "Save" command and a repaint do.
#include "log/chart_decimation.h"
#include "log/trend_chart.h"

#include <QApplication>
#include <QLineEdit>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

using kx::log::TrendChart;

// Widgets need an application; the benchmark's own main makes none, so the first chart does.
void ensureApplication()
{
    static int argc = 1;
    static char name[] = "bench_chart";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
}

std::unique_ptr<TrendChart> chartWith(std::int64_t points, const char *pointsPerPage)
{
    ensureApplication();
    auto chart = std::make_unique<TrendChart>();
    chart->resize(708, 435);
    chart->setChartLeftAxis(-40000, 40000);
    chart->findChild<QLineEdit *>(QStringLiteral("Maxrecord"))->setText(pointsPerPage);
    for (std::int64_t i = 0; i < points; ++i) {
        const double value = 30000 * std::sin(double(i) * 0.001);
        chart->Series1Add(value);
        chart->Series2Add(value);
    }
    chart->setChartPage(chart->chartPageCount());
    QApplication::processEvents();
    return chart;
}

// The chart step of the reading update sequence on a live chart, and the page refresh it causes.
void addReading(benchmark::State &state, const char *pointsPerPage)
{
    const auto chart = chartWith(state.range(0), pointsPerPage);
    double value = 0;
    for (auto _ : state) {
        chart->Series1Add(value);
        chart->setChartPage(chart->chartPageCount());
        chart->setBt10Caption(QString::number(chart->chartPageCount()));
        chart->Series2Add(value);
        QApplication::processEvents();
        value = value > 30000 ? -30000 : value + 7;
    }
    state.counters["points"] = double(state.range(0));
}

void BM_AddReading_100PerPage(benchmark::State &state) { addReading(state, "100"); }
void BM_AddReading_AllOnOnePage(benchmark::State &state) { addReading(state, "0"); }

// Rebuilding the shown page from the store and drawing it into a picture.
void redraw(benchmark::State &state, const char *pointsPerPage)
{
    const auto chart = chartWith(1'000'000, pointsPerPage);
    for (auto _ : state) {
        chart->setChartPage(chart->chartPageCount());
        const QImage picture = chart->picture();
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void BM_RedrawPage_1M(benchmark::State &state) { redraw(state, "100"); }

// The part of a whole-chart redraw that walks every point: cutting a million to the plot's width.
void BM_Decimate_1M(benchmark::State &state)
{
    kx::log::ChartPoints values;
    for (int i = 0; i < 1'000'000; ++i)
        values.append(float(30000 * std::sin(double(i) * 0.001)));
    for (auto _ : state) {
        const auto points = kx::log::decimateForColumns(values, 0, values.size(), 700);
        benchmark::DoNotOptimize(points.data());
    }
}
void BM_RedrawWholeChart_1M(benchmark::State &state) { redraw(state, "0"); }

BENCHMARK(BM_AddReading_100PerPage)->Arg(0)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddReading_AllOnOnePage)->Arg(0)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedrawPage_1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawWholeChart_1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decimate_1M)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
