// CPU cost of an open port: idle, and with frames arriving at 19200 bit/s. Each run lets the event
// loop poll for a few seconds and reports the user-interface thread's CPU time as a share of the
// wall time.

#include "link/serial_port_driver.h"
#include "tests/link/pty.h"

#include <QCoreApplication>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <sys/resource.h>
#include <thread>

namespace {

using kx::link::TSerialPortDriver;

double threadCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    auto seconds = [](const timeval &t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

constexpr int kSeconds = 3;

void pollFor(benchmark::State &state, unsigned feedBaud)
{
    kx::link::test::Pty pty;
    TSerialPortDriver driver;
    driver.SetComPortDevice(pty.slavePath());
    driver.SetComPortSpeed(kx::link::TComPortBaudRate::br19200);
    std::int64_t bytes = 0;
    std::int64_t blocks = 0;
    driver.OnReceiveData = [&](TSerialPortDriver *, const char *, std::int32_t size) {
        bytes += size;
        ++blocks;
    };
    if (!driver.Connect()) {
        state.SkipWithError(driver.LastError().c_str());
        return;
    }
    for (auto _ : state) {
        std::atomic<bool> stop = false;
        // The meter: one 14-byte segment frame after the other, paced at the line rate.
        std::thread meter([&] {
            if (feedBaud == 0)
                return;
            const std::string frame = "\x16\x28\x35\x4D\x5B\x61\x7F\x82\x97\xA0\xB0\xC0\xD4\xE0";
            const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / feedBaud);
            auto due = std::chrono::steady_clock::now();
            while (!stop) {
                pty.write(frame);
                due += byteTime * static_cast<int>(frame.size());
                std::this_thread::sleep_until(due);
            }
        });
        const double cpuBefore = threadCpuSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        QTimer::singleShot(kSeconds * 1000, QCoreApplication::instance(), &QCoreApplication::quit);
        QCoreApplication::exec();
        const double cpu = threadCpuSeconds() - cpuBefore;
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        stop = true;
        meter.join();
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
        state.counters["cpu_ms_per_s"] = 1000.0 * cpu / wall;
        state.counters["blocks_per_s"] = static_cast<double>(blocks) / wall;
        state.counters["bytes_per_s"] = static_cast<double>(bytes) / wall;
    }
}

void BM_IdlePortPolledEvery50ms(benchmark::State &state) { pollFor(state, 0); }
void BM_FramesArrivingAt19200Baud(benchmark::State &state) { pollFor(state, 19200); }

BENCHMARK(BM_IdlePortPolledEvery50ms)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FramesArrivingAt19200Baud)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
