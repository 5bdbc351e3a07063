// Figures of the main window as the user runs it, offscreen:
//   - start: from entering main() to the window shown;
//   - CPU of the user-interface thread while a meter streams at the 19200-baud line rate;
//   - latency from a frame's last byte written into the pty to the LCD model showing it;
//   - cost of one reading through LCD, gauge, log grid and chart (with the event-loop turn that
//     paints it) at 0 and 1 million logged records and chart points.

#include "app/main_window.h"
#include "link/serial_port_driver.h"
#include "log/log_prompts.h"
#include "log/log_table.h"
#include "tests/link/pty.h"
#include "tests/support/test_hid_platform.h"
#include "tools/sim/frames.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

#if defined(KX52B_BUILD_40K)
constexpr kx::sim::Family kFamily = kx::sim::Family::FiveDigit;
constexpr const char *kBuild = "40k";
#else
constexpr kx::sim::Family kFamily = kx::sim::Family::Segment;
constexpr const char *kBuild = "4k";
#endif

// Answers nothing and shows nothing: a benchmark has no one at the screen.
class QuietBoxes : public kx::log::MessageBoxes {
public:
    void information(const QString &) override {}
    void error(const QString &) override {}
    Answer askSaveDiscardCancel(const QString &) override { return Answer::Discard; }
    int choose(const QString &, const QStringList &, int onClose) override { return onClose; }
};

double threadCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs the event loop as the program does: asleep until something happens.
void runFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

// The frames of the simulator's sweep, which change function, range and sign.
std::vector<std::string> sweep()
{
    std::vector<std::string> frames;
    for (const kx::sim::Frame &f : kx::sim::builtInScenario(kFamily))
        frames.push_back(f.bytes);
    return frames;
}

// A meter sending FRAMES over and over at BAUD, with GAP between one frame and the next.
void streamingCpu(const char *title, kx::link::test::Pty &meter, const std::vector<std::string> &frames, long baud,
                  std::chrono::milliseconds gap)
{
    std::atomic<bool> stop = false;
    std::atomic<long> sent = 0;
    std::thread writer([&] {
        // 10 bits a byte on the line.
        const auto byteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / baud);
        auto due = Clock::now();
        for (std::size_t i = 0; !stop; ++i) {
            const std::string &frame = frames[i % frames.size()];
            meter.write(frame);
            ++sent;
            due += byteTime * long(frame.size()) + gap;
            std::this_thread::sleep_until(due);
        }
    });
    runFor(500);
    const double cpu0 = threadCpuSeconds();
    const long sent0 = sent;
    const auto t0 = Clock::now();
    runFor(5000);
    const double cpu = threadCpuSeconds() - cpu0;
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    const long frames_ = sent - sent0;
    stop = true;
    writer.join();
    std::printf("%-52s %8.2f %% of a core (%.0f frames/s, %.1f us a frame)\n", title, 100 * cpu / wall,
                double(frames_) / wall,
                1e6 * cpu / double(std::max(1L, frames_)));
}

void latency(kx::app::TFCOMM &window, kx::link::test::Pty &meter, const std::vector<std::string> &frames)
{
    // Writes one frame at a random moment, notes when its last byte went in, and waits for the
    // LCD model to show it.
    Clock::time_point written{};
    std::vector<double> delays;
    auto &driver = window.COMM2();
    const auto receive = driver.OnReceiveData;
    QEventLoop *waiting = nullptr;
    driver.OnReceiveData = [&](kx::link::TSerialPortDriver *sender, const char *data, std::int32_t size) {
        receive(sender, data, size);
        // A decoded frame sets the idle count back to 0.
        if (!waiting || window.meter().state.LinkIdleTicks != 0)
            return;
        delays.push_back(std::chrono::duration<double, std::milli>(Clock::now() - written).count());
        waiting->quit();
    };
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        runFor(20 + int(random() % 80));
        window.meter().state.LinkIdleTicks = 1;
        QEventLoop loop;
        waiting = &loop;
        meter.write(frames[std::size_t(i) % frames.size()]);
        written = Clock::now();
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        waiting = nullptr;
    }
    driver.OnReceiveData = receive;
    std::printf("%-52s %8.1f ms median, %.1f ms 99th percentile (%zu frames; the port is polled every 50 ms)\n",
                "Last byte into the pty to the LCD model showing it", percentile(delays, 0.5),
                percentile(delays, 0.99), delays.size());
}

double readingCost(kx::app::TFCOMM &window, const std::vector<std::string> &frames, int readings)
{
    auto &driver = window.COMM2();
    const auto t0 = Clock::now();
    for (int i = 0; i < readings; ++i) {
        const std::string &frame = frames[std::size_t(i) % frames.size()];
        driver.OnReceiveData(&driver, frame.data(), std::int32_t(frame.size()));
        QCoreApplication::processEvents();
    }
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / readings;
}

void fill(kx::app::TFCOMM &window, int records)
{
    kx::log::LogRecord record{1, QTime(12, 0, 0), QStringLiteral("1.234"), 1234, QStringLiteral("DC"),
                              QStringLiteral("V"), QStringLiteral("AUTO")};
    for (int i = 0; i < records; ++i) {
        record.no = i;
        window.T38BDB().append(record);
        window.Series1Add(i % 4000);
        window.Series2Add(i % 4000);
    }
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char **argv)
{
    const auto started = Clock::now();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("state"))));
    kx::link::test::Pty meter;
    qputenv("KX52B_COM1", QByteArray::fromStdString(meter.slavePath()));

    QuietBoxes boxes;
    kx::app::TFCOMM window(kx::app::WindowServices{
        .boxes = &boxes, .beep = [] {}, .hidPlatform = std::make_shared<kx::link::test::TestHidPlatform>()});
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    const double startMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    std::printf("== window of the %s build, offscreen\n", kBuild);
    std::printf("%-52s %8.1f ms\n", "Start to a shown window", startMs);

    if (!window.COMM2().Connect()) {
        std::printf("cannot open the pty: %s\n", window.COMM2().LastError().c_str());
        return 1;
    }
    // "cpu", "latency" or "reading" runs that figure alone, for a profiler.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto runs = [&](const char *figure) { return only.isEmpty() || only == QLatin1String(figure); };
    const std::vector<std::string> frames = sweep();
    if (runs("cpu")) {
        streamingCpu("CPU, meter streaming at the 19200-baud line rate", meter, frames, 19200,
                     std::chrono::milliseconds(0));
        streamingCpu("CPU, meter at its own pace (2 frames/s, 2400 baud)", meter, frames, 2400,
                     std::chrono::milliseconds(500));
        streamingCpu("CPU, meter silent (one frame a minute)", meter, frames, 2400, std::chrono::milliseconds(60000));
    }
    if (runs("latency"))
        latency(window, meter, frames);
    window.COMM2().Disconnect();
    if (!runs("reading"))
        return 0;

    // Every reading logged, so the grid takes a row each time.
    window.findChild<QCheckBox *>(QStringLiteral("RepeatSet"))->setChecked(false);
    readingCost(window, frames, 200);
    std::printf("%-52s %8.1f us\n", "One reading through LCD, gauge, grid, chart, 0 records",
                readingCost(window, frames, 2000));
    fill(window, 1'000'000);
    std::printf("%-52s %8.1f us\n", "One reading through LCD, gauge, grid, chart, 1M records",
                readingCost(window, frames, 2000));
    return 0;
}
