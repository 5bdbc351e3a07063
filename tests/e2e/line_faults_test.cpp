// Faults on the serial line as a user meets them: junk between good frames, the meter unplugged
// while connected, and a meter that sends only frames that fail, for an hour.

#include "link/serial_port_driver.h"
#include "log/log_table.h"
#include "tests/app/build_frames.h"
#include "tests/app/meter_on_pty_fixture.h"
#include "tests/e2e/process_usage.h"
#include "tests/e2e/scenario.h"

#include <QLabel>
#include <QPushButton>

#include <atomic>
#include <random>
#include <thread>

namespace kx::e2e {
namespace {

using app::testing::failingFrame;
using app::testing::readingFrame;

// Memory the process may gain while megabytes of junk or an hour of failing frames pass through:
// far less than the bytes themselves, so nothing is kept per byte or per frame.
constexpr long kMemoryBoundKilobytes = 8 * 1024;

// Under the address sanitizer freed memory is held back on purpose, so resident memory says
// nothing about what the program keeps.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasurable = false;
#else
constexpr bool kMemoryMeasurable = true;
#endif

using LineFaults = app::testing::WindowOnMeter;

// Seeded junk as a bad cable or a meter of another kind puts it on the line: random bytes, frames of
// the scenario cut short or interleaved byte by byte, and good frames in between.
class Junk {
public:
    std::string next()
    {
        const ScenarioFrame &a = pick(), &b = pick();
        switch (std::uniform_int_distribution(0, 3)(m_random)) {
        case 0: {
            std::string bytes(std::uniform_int_distribution<std::size_t>(1, 300)(m_random), '\0');
            for (char &c : bytes)
                c = static_cast<char>(std::uniform_int_distribution(0, 255)(m_random));
            return bytes;
        }
        case 1: {
            const std::size_t cut = std::uniform_int_distribution<std::size_t>(1, a.bytes.size() - 1)(m_random);
            return m_random() % 2 ? a.bytes.substr(0, cut) : a.bytes.substr(cut);
        }
        case 2: {
            std::string bytes;
            for (std::size_t i = 0; i < std::max(a.bytes.size(), b.bytes.size()); ++i)
                for (const std::string *from : {&a.bytes, &b.bytes})
                    if (i < from->size())
                        bytes += (*from)[i];
            return bytes;
        }
        default:
            return readingFrame(std::uniform_int_distribution(0, 2)(m_random)).bytes;
        }
    }

private:
    const ScenarioFrame &pick()
    {
        return m_frames[std::uniform_int_distribution<std::size_t>(0, m_frames.size() - 1)(m_random)];
    }

    std::mt19937 m_random{20240521};
    std::vector<ScenarioFrame> m_frames = buildScenario();
};

TEST_F(LineFaults, JunkBetweenGoodFramesLeavesTheNextGoodFrameDecodedInBoundedMemory)
{
    open();
    connectCom();
    constexpr std::size_t kWarmUp = 512 * 1024, kJunk = 4 * 1024 * 1024;
    std::atomic<std::size_t> written = 0;
    std::atomic<bool> done = false;
    // The meter's side writes as fast as the pty takes it; the window polls as fast as it can.
    std::jthread line([&] {
        Junk junk;
        while (written < kWarmUp + kJunk) {
            const std::string bytes = junk.next();
            meter.write(bytes);
            written += bytes.size();
        }
        done = true;
    });
    long before = -1;
    while (!done) {
        window->COMM2().PollTick();
        QCoreApplication::processEvents();
        if (before < 0 && written >= kWarmUp)
            before = residentKilobytes();
    }
    line.join();

    // The first good frame may end a frame the junk began; the one after it is decoded.
    meter.write(readingFrame(1).bytes);
    meter.write(readingFrame(2).bytes);
    EXPECT_TRUE(decoded(readingFrame(2).displayText)) << window->meter().state.LastFrame;
    EXPECT_TRUE(window->COMM2().IsConnected());
    EXPECT_TRUE(boxes.shown.isEmpty() && boxes.errors.isEmpty()) << (boxes.shown + boxes.errors).join(u'\n').toStdString();
    if (kMemoryMeasurable) {
        EXPECT_LT(residentKilobytes() - before, kMemoryBoundKilobytes);
    }
}

TEST_F(LineFaults, TheMeterUnpluggedIsSaidOnceWithoutSpinningAndComConnectWorksOnceItIsBack)
{
    open();
    connectCom();
    meter.write(readingFrame(0).bytes);
    ASSERT_TRUE(decoded(readingFrame(0).displayText));

    meter.closeMaster();
    ASSERT_TRUE(waitFor([&] { return !boxes.shown.isEmpty(); }));
    const double share = coreShareWhileIdle(1000);
    ASSERT_EQ(boxes.shown.size(), 1) << boxes.shown.join(u'\n').toStdString();
    EXPECT_TRUE(boxes.shown.front().contains(QStringLiteral("went away"))) << boxes.shown.front().toStdString();
    EXPECT_LT(share, 0.2) << "no polling of a port that is gone";
    auto *comConnect = child<QPushButton>("COMCon");
    EXPECT_FALSE(comConnect->isChecked());
    EXPECT_FALSE(window->COMM2().IsConnected());

    link::test::Pty back;
    qputenv("KX52B_COM1", QByteArray::fromStdString(back.slavePath()));
    comConnect->click();
    ASSERT_TRUE(window->COMM2().IsConnected()) << boxes.shown.join(u'\n').toStdString();
    back.write(readingFrame(1).bytes);
    EXPECT_TRUE(decoded(readingFrame(1).displayText));
    EXPECT_EQ(boxes.shown.size(), 1);
}

// A meter whose display shows no digits, on a 19200-baud line for an hour, its frames handed over
// as the port's polls would: no box ever, the exact count on the one line, memory bounded.
TEST_F(LineFaults, AnHourOfFramesThatFailIsCountedOnOneLineWithoutABox)
{
    open();
    const std::string frame = failingFrame();
    constexpr long long kBytesPerHour = 19200 / 10 * 3600;
    constexpr std::size_t kBlock = 19200 / 10 / 20; // what one 50 ms poll carries
    const long long frames = kBytesPerHour / static_cast<long long>(frame.size());
    std::string line;
    for (std::size_t i = 0; i < kBlock; ++i)
        line += frame;
    link::TSerialPortDriver &driver = window->COMM2();

    long before = -1;
    const long long total = frames * static_cast<long long>(frame.size());
    for (long long at = 0, blocks = 0; at < total; ++blocks) {
        const std::size_t offset = static_cast<std::size_t>(at % static_cast<long long>(line.size()));
        const auto n = static_cast<std::int32_t>(std::min<long long>({static_cast<long long>(kBlock),
                                                                       static_cast<long long>(line.size() - offset),
                                                                       total - at}));
        driver.OnReceiveData(&driver, line.data() + offset, n);
        at += n;
        // The event loop turns as often as the polls would come.
        if (blocks % 1000 == 0) {
            QCoreApplication::processEvents();
            if (before < 0 && at > total / 10)
                before = residentKilobytes();
        }
    }
    waitFor([] { return false; }, 200);

    EXPECT_TRUE(boxes.shown.isEmpty() && boxes.errors.isEmpty()) << (boxes.shown + boxes.errors).join(u'\n').toStdString();
    const QString failures = child<QLabel>("FrameFailures")->text();
    EXPECT_TRUE(failures.startsWith(QStringLiteral("%1 frames not decoded").arg(frames))) << failures.toStdString();
    EXPECT_EQ(window->T38BDB().count(), 0);
    if (kMemoryMeasurable) {
        EXPECT_LT(residentKilobytes() - before, kMemoryBoundKilobytes);
    }
}

} // namespace
} // namespace kx::e2e
