// Figures of the main window as the user runs it, offscreen:
//   - start: from entering main() to the window shown;
//   - CPU of the user-interface thread while a meter streams at the 19200-baud line rate, at its own
//     pace, and when silent;
//   - latency from a frame's last byte written into the pty to the LCD model showing it;
//   - cost of one reading through LCD, gauge, log grid and chart (with the event-loop turn that
//     paints it) at 0 and 1 million logged records and chart points;
//   - a long run: a million frames through the pty as fast as it carries them, with CPU per frame,
//     memory growth and latency.
// "--json" prints the figures as JSON for the table of figures; an argument naming one part ("cpu",
// "latency", "reading", "long") runs that part alone, for a profiler.

#include "app/main_window.h"
#include "bench/window/window_figures.h"
#include "link/serial_port_driver.h"
#include "log/log_prompts.h"
#include "log/log_table.h"
#include "tests/link/pty.h"
#include "tests/support/test_hid_platform.h"
#include "tools/sim/frames.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QRegularExpression>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using kx::bench::Figures;

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

double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    return 0;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

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

// A meter sending FRAMES over and over at BAUD with GAP between frames: the UI thread's CPU.
void streamingCpu(Figures &figures, const char *key, const char *label, kx::link::test::Pty &meter,
                  const std::vector<std::string> &frames, long baud, std::chrono::milliseconds gap)
{
    std::atomic<bool> stop = false;
    std::atomic<long> sent = 0;
    std::thread writer([&] {
        const auto byteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / baud); // 10 bits a byte
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
    const auto t0 = Clock::now();
    runFor(5000);
    const double cpu = threadCpuSeconds() - cpu0;
    const double wall = seconds(Clock::now() - t0);
    stop = true;
    writer.join();
    figures.add(key, label, 100 * cpu / wall, "% of a core");
}

// One frame at a random moment at a time, its last byte's time noted, until the LCD model shows it.
void latency(Figures &figures, kx::app::TFCOMM &window, kx::link::test::Pty &meter,
             const std::vector<std::string> &frames)
{
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
    figures.add("latency_median", "Last byte into the pty to the LCD model, median", percentile(delays, 0.5), "ms");
    figures.add("latency_p99", "Last byte into the pty to the LCD model, 99th percentile", percentile(delays, 0.99),
                "ms");
}

// A million frames as fast as the pty carries them; the frames are of one size, so the bytes received
// say which frames are complete.
void longRun(Figures &figures, kx::app::TFCOMM &window, kx::link::test::Pty &meter,
             const std::vector<std::string> &frames)
{
    constexpr std::size_t kFrames = 1'000'000;
    std::vector<std::string> same;
    for (const std::string &f : frames)
        if (f.size() == frames.front().size())
            same.push_back(f);
    const std::size_t frameSize = same.front().size();
    std::vector<Clock::time_point> writtenAt(kFrames);
    std::atomic<std::size_t> written = 0;
    std::vector<double> delays;
    delays.reserve(kFrames);
    std::size_t received = 0, shown = 0;
    auto &driver = window.COMM2();
    const auto receive = driver.OnReceiveData;
    QEventLoop loop;
    driver.OnReceiveData = [&](kx::link::TSerialPortDriver *sender, const char *data, std::int32_t size) {
        receive(sender, data, size);
        received += std::size_t(size);
        const auto now = Clock::now();
        const std::size_t complete = std::min(received / frameSize, written.load());
        for (; shown < complete; ++shown)
            delays.push_back(std::chrono::duration<double, std::milli>(now - writtenAt[shown]).count());
        if (shown == kFrames)
            loop.quit();
    };
    const double memory0 = residentMegabytes();
    const double cpu0 = threadCpuSeconds();
    const auto t0 = Clock::now();
    std::thread writer([&] {
        for (std::size_t i = 0; i < kFrames; ++i) {
            meter.write(same[i % same.size()]);
            writtenAt[i] = Clock::now();
            written.store(i + 1);
        }
    });
    loop.exec();
    writer.join();
    const double cpu = threadCpuSeconds() - cpu0;
    const double wall = seconds(Clock::now() - t0);
    driver.OnReceiveData = receive;
    const double growth = residentMegabytes() - memory0;
    // At 19200 bit/s a line carries 1920 bytes a second.
    const double framesPerHour = 1920.0 / double(frameSize) * 3600;
    figures.add("long_frames_per_s", "Million-frame run: frames a second", double(kFrames) / wall, "frames/s");
    figures.add("long_cpu_per_frame", "Million-frame run: CPU a frame", 1e6 * cpu / double(kFrames), "us");
    figures.add("long_memory_per_hour", "Million-frame run: memory growth an hour at 19200 bit/s",
                growth / double(kFrames) * framesPerHour, "MB");
    figures.add("long_latency_median", "Million-frame run: last byte to LCD model, median", percentile(delays, 0.5),
                "ms");
    figures.add("long_latency_p99", "Million-frame run: last byte to LCD model, 99th percentile",
                percentile(delays, 0.99), "ms");
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
    return 1e6 * seconds(Clock::now() - t0) / readings;
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
    const QStringList arguments = app.arguments().mid(1);
    Figures figures(QStringLiteral("bench_window_%1").arg(QLatin1String(kBuild)).toStdString(),
                    arguments.contains(QStringLiteral("--json")));
    const QStringList parts = QStringList(arguments).filter(QRegularExpression(QStringLiteral("^[a-z]+$")));
    const auto runs = [&](const char *part) { return parts.isEmpty() || parts.contains(QLatin1String(part)); };

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
    figures.add("start", "Start to a shown window", std::chrono::duration<double, std::milli>(Clock::now() - started).count(),
                "ms");

    if (!window.COMM2().Connect()) {
        std::fprintf(stderr, "cannot open the pty: %s\n", window.COMM2().LastError().c_str());
        return 1;
    }
    const std::vector<std::string> frames = sweep();
    if (runs("cpu")) {
        streamingCpu(figures, "cpu_19200", "CPU, meter streaming at the 19200-baud line rate", meter, frames, 19200,
                     std::chrono::milliseconds(0));
        streamingCpu(figures, "cpu_own_pace", "CPU, meter at its own pace (2 frames/s, 2400 baud)", meter, frames,
                     2400, std::chrono::milliseconds(500));
        streamingCpu(figures, "cpu_silent", "CPU, port open, meter silent", meter, frames, 2400,
                     std::chrono::milliseconds(60000));
    }
    if (runs("latency"))
        latency(figures, window, meter, frames);
    if (runs("long"))
        longRun(figures, window, meter, frames);
    window.COMM2().Disconnect();

    if (runs("reading")) {
        // Every reading logged, so the grid takes a row each time.
        window.findChild<QCheckBox *>(QStringLiteral("RepeatSet"))->setChecked(false);
        readingCost(window, frames, 200);
        figures.add("reading_0", "One reading through LCD, gauge, grid, chart, 0 records",
                    readingCost(window, frames, 2000), "us");
        fill(window, 1'000'000);
        figures.add("reading_1m", "One reading through LCD, gauge, grid, chart, 1M records",
                    readingCost(window, frames, 2000), "us");
    }
    figures.print();
    return 0;
}
