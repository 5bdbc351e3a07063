// CPU cost of reading the USB cable: a reader waiting on a silent adapter, and one reading a
// 2400-baud meter through the adapter. The adapter is the test platform's device; its reports go
// through the real reader thread, the hand-over to the event loop and the segment-frame handler.
//
// The adapter model: the adapter sends a report every 10 ms (100 a second), carrying the meter bytes
// that arrived since the last one (at 2400 baud a byte takes 4.17 ms, so 2 or 3 while a frame comes
// in), and an idle report otherwise. Its period is longer than a byte time, or idle reports would cut
// frames apart. The meter sends a 14-byte segment frame four times a second.
#include "link/hid_device_controller.h"
#include "meter/headless_window.h"
#include "meter/startup.h"
#include "meter/usb_report_handlers.h"
#include "tests/support/test_hid_platform.h"

#include <QCoreApplication>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <sys/resource.h>
#include <thread>

namespace {

using namespace kx::link;
using Clock = std::chrono::steady_clock;

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval &t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

constexpr int kSeconds = 3;
constexpr auto kReportPeriod = std::chrono::milliseconds(10);
constexpr double kByteSeconds = 10.0 / 2400;
constexpr double kFramePeriodSeconds = 0.25;
const std::vector<std::uint8_t> kFrame{0x16, 0x28, 0x35, 0x4D, 0x5B, 0x61, 0x7F, 0x82, 0x97, 0xA0, 0xB0, 0xC0, 0xD4, 0xE0};

void readFor(benchmark::State &state, bool meterOn)
{
    auto platform = std::make_shared<kx::link::test::TestHidPlatform>();
    kx::link::test::TestHidDevice adapter;
    adapter.InstanceID = "adapter";
    platform->plug(adapter);
    THidDeviceController controller(platform);
    THidDevice *device = controller.ClaimByIndex(0);

    kx::meter::HeadlessWindow window;
    kx::meter::Meter meter(window, kx::meter::buildProfileFlags());
    kx::meter::startProfile(meter);
    kx::meter::UsbReports reports;
    std::int64_t received = 0;
    device->SetDataHandler([&](THidDevice *, std::uint8_t id, const std::uint8_t *data, std::uint16_t size) {
        (void)kx::meter::HidSegmentData(meter, reports, id, data, size);
        ++received;
    });
    while (platform->readChannels("adapter") == 0)
        QCoreApplication::processEvents();

    for (auto _ : state) {
        std::atomic<bool> stop = false;
        std::atomic<double> adapterCpu = 0;
        std::thread host([&] {
            const auto start = Clock::now();
            auto due = start;
            std::size_t sentBytes = 0;
            while (!stop && meterOn) {
                due += kReportPeriod;
                std::this_thread::sleep_until(due);
                // Meter bytes that have arrived by now: frames every 250 ms, a byte every 4.17 ms.
                const double t = std::chrono::duration<double>(Clock::now() - start).count();
                const auto frames = static_cast<std::size_t>(t / kFramePeriodSeconds);
                const double intoFrame = t - static_cast<double>(frames) * kFramePeriodSeconds;
                const std::size_t arrived =
                    frames * kFrame.size() + std::min(kFrame.size(), static_cast<std::size_t>(intoFrame / kByteSeconds));
                std::vector<std::uint8_t> report(8, 0);
                const std::size_t n = std::min<std::size_t>(arrived - sentBytes, 7);
                report[0] = static_cast<std::uint8_t>(0xF0 | n);
                for (std::size_t i = 0; i < n; ++i)
                    report[1 + i] = kFrame[(sentBytes + i) % kFrame.size()];
                sentBytes += n;
                platform->sendReport("adapter", report);
            }
            adapterCpu = cpuSeconds(RUSAGE_THREAD);
        });
        const double cpuBefore = cpuSeconds(RUSAGE_SELF);
        const auto wallBefore = Clock::now();
        received = 0;
        const std::int64_t decodedBefore = window.decoderRuns;
        QTimer::singleShot(kSeconds * 1000, QCoreApplication::instance(), &QCoreApplication::quit);
        QCoreApplication::exec();
        stop = true;
        host.join();
        const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
        const double cpu = cpuSeconds(RUSAGE_SELF) - cpuBefore - adapterCpu;
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
        state.counters["reports_per_s"] = static_cast<double>(received) / wall;
        state.counters["frames_per_s"] = static_cast<double>(window.decoderRuns - decodedBefore) / wall;
    }
    device->SetDataHandler({});
}

void BM_IdleReader(benchmark::State &state) { readFor(state, false); }
void BM_Reading2400BaudThroughAdapter(benchmark::State &state) { readFor(state, true); }

BENCHMARK(BM_IdleReader)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reading2400BaudThroughAdapter)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
