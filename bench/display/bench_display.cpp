// Cost of one decoded reading on the screen: the LCD shown for a model whose digits changed, and the
// gauge's needle moved; each alone and with the repaint the event loop then runs (offscreen).
#include "display/analog_gauge.h"
#include "display/lcd_panel.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <array>

namespace {

using E = kx::meter::LcdElement;
using kx::meter::LcdDigit;

// Two readings of one range, "-12.345 mV" and "-12.346 mV": the last digit changes each frame.
std::array<kx::meter::LcdModel, 2> twoReadings()
{
    std::array<kx::meter::LcdModel, 2> models;
    const char last[] = {'5', '6'};
    for (std::size_t i = 0; i < models.size(); ++i) {
        kx::meter::LcdModel &m = models[i];
        for (const E element : {E::LcdP1, E::Lcdm, E::LcdV, E::LcdDc1, E::LcdAuto})
            m.show(element);
        m.setCaption(LcdDigit::D0, '1');
        m.setCaption(LcdDigit::Da, '2');
        m.setCaption(LcdDigit::Db, '3');
        m.setCaption(LcdDigit::Dc, '4');
        m.setCaption(LcdDigit::Dd, last[i]);
    }
    return models;
}

void lcdReading(benchmark::State &state, bool repaint, bool change)
{
    kx::display::LcdPanel panel(kx::display::LcdBuild::FiveDigit);
    if (repaint)
        panel.show();
    const auto models = twoReadings();
    std::size_t frame = 0;
    for (auto _ : state) {
        panel.render(models[change ? frame++ % 2 : 0]);
        if (repaint)
            QApplication::processEvents();
    }
}

void BM_LcdRender_ChangedDigit(benchmark::State &state) { lcdReading(state, false, true); }
void BM_LcdRender_Unchanged(benchmark::State &state) { lcdReading(state, false, false); }
void BM_LcdRenderAndRepaint_ChangedDigit(benchmark::State &state) { lcdReading(state, true, true); }

void gaugeReading(benchmark::State &state, bool repaint)
{
    kx::display::GaugeInputs inputs;
    inputs.FullScale = 40000;
    kx::display::AnalogGauge gauge([&inputs] { return inputs; });
    gauge.resize(371, 143);
    if (repaint)
        gauge.show();
    gauge.KDsetup(1);
    std::int32_t position = 0;
    for (auto _ : state) {
        gauge.KDrun(position);
        position = (position + 37) % 801;
        if (repaint)
            QApplication::processEvents();
    }
}

void BM_GaugeKDrun(benchmark::State &state) { gaugeReading(state, false); }
void BM_GaugeKDrunAndRepaint(benchmark::State &state) { gaugeReading(state, true); }

void BM_GaugeKDsetup(benchmark::State &state)
{
    kx::display::AnalogGauge gauge([] { return kx::display::GaugeInputs{}; });
    gauge.resize(371, 143);
    for (auto _ : state)
        gauge.KDsetup(1);
}

BENCHMARK(BM_LcdRender_ChangedDigit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LcdRender_Unchanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LcdRenderAndRepaint_ChangedDigit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GaugeKDrun)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GaugeKDrunAndRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GaugeKDsetup)->Unit(benchmark::kMicrosecond);

} // namespace

// The widgets need an application before the first case runs.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
