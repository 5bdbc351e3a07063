#include "link/serial_port_driver.h"
#include "pty.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <termios.h>

namespace kx::link {
namespace {

using test::Pty;

// Collects every block the driver hands on.
struct Receiver {
    std::vector<std::string> blocks;
    std::string all() const
    {
        std::string joined;
        for (const auto &b : blocks)
            joined += b;
        return joined;
    }
    void bind(TSerialPortDriver &driver)
    {
        driver.OnReceiveData = [this, &driver](TSerialPortDriver *sender, const char *data, std::int32_t size) {
            EXPECT_EQ(sender, &driver);
            EXPECT_GE(size, 1);
            blocks.emplace_back(data, static_cast<std::size_t>(size));
        };
    }
};

class DriverOnPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(pty.slavePath().empty());
        driver.SetComPortDevice(pty.slavePath());
        receiver.bind(driver);
    }

    // Descriptors of this process that have the pty's slave open.
    int openCount() const
    {
        int count = 0;
        for (const auto &fd : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code error;
            if (std::filesystem::read_symlink(fd.path(), error) == pty.slavePath())
                ++count;
        }
        return count;
    }

    QTimer *pollTimer() { return driver.findChild<QTimer *>(); }

    Pty pty;
    TSerialPortDriver driver;
    Receiver receiver;
};

TEST(SerialPortDriver, StartsWithTheDocumentedDefaults)
{
    TSerialPortDriver driver;
    EXPECT_EQ(driver.ComPort(), TComPortNumber::pnCOM2);
    EXPECT_EQ(driver.ComPortSpeed(), TComPortBaudRate::br9600);
    EXPECT_EQ(driver.ComPortDataBits(), TComPortDataBits::db8BITS);
    EXPECT_EQ(driver.ComPortStopBits(), TComPortStopBits::sb1BITS);
    EXPECT_EQ(driver.ComPortParity(), TComPortParity::ptNONE);
    EXPECT_EQ(driver.ComPortHwHandshaking(), TComPortHwHandshaking::hhNONE);
    EXPECT_EQ(driver.ComPortSwHandshaking(), TComPortSwHandshaking::shNONE);
    EXPECT_EQ(driver.ComPortInBufSize(), 2048);
    EXPECT_EQ(driver.ComPortOutBufSize(), 2048);
    EXPECT_EQ(driver.ComPortPollingDelay(), 50);
    EXPECT_TRUE(driver.EnableDTROnOpen());
    EXPECT_EQ(driver.OutputTimeout(), 4000);
    EXPECT_FALSE(driver.IsConnected());
    EXPECT_EQ(driver.PortName(), "COM2");
}

TEST(SerialPortDriver, ConnectFailsWithTheSystemsReason)
{
    const struct {
        const char *path;
        int error;
    } cases[] = {
        {"/dev/kx52b-no-such-port", ENOENT},
        {"/dev/null", ENOTTY}, // exists, but is no terminal
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        TSerialPortDriver driver;
        Receiver receiver;
        receiver.bind(driver);
        driver.SetComPortDevice(c.path);
        EXPECT_FALSE(driver.Connect());
        EXPECT_FALSE(driver.IsConnected());
        EXPECT_EQ(driver.LastError(), std::strerror(c.error));
        EXPECT_FALSE(driver.findChild<QTimer *>()->isActive());
        driver.PollTick();
        EXPECT_TRUE(receiver.blocks.empty());
    }
}

TEST_F(DriverOnPty, ConnectTwiceOpensOnce)
{
    EXPECT_TRUE(driver.Connect());
    EXPECT_TRUE(driver.Connect());
    EXPECT_TRUE(driver.IsConnected());
    EXPECT_EQ(openCount(), 1);
    EXPECT_TRUE(driver.LastError().empty());
    EXPECT_EQ(driver.DevicePath(), pty.slavePath());
    EXPECT_TRUE(pollTimer()->isActive());
    EXPECT_EQ(pollTimer()->interval(), 50);

    driver.Disconnect();
    EXPECT_FALSE(driver.IsConnected());
    EXPECT_FALSE(pollTimer()->isActive());
    EXPECT_EQ(openCount(), 0);
}

TEST_F(DriverOnPty, PortAndBufferSizeAreFrozenWhileConnected)
{
    ASSERT_TRUE(driver.Connect());
    driver.SetComPort(TComPortNumber::pnCOM4);
    driver.SetComPortDevice("/dev/kx52b-elsewhere");
    driver.SetComPortInBufSize(16);
    EXPECT_EQ(driver.ComPort(), TComPortNumber::pnCOM2);
    EXPECT_EQ(driver.ComPortDevice(), pty.slavePath());
    EXPECT_EQ(driver.ComPortInBufSize(), 2048);
    EXPECT_EQ(driver.DevicePath(), pty.slavePath());

    driver.Disconnect();
    driver.SetComPort(TComPortNumber::pnCOM4);
    driver.SetComPortInBufSize(16);
    EXPECT_EQ(driver.ComPort(), TComPortNumber::pnCOM4);
    EXPECT_EQ(driver.ComPortInBufSize(), 16);

    // The smaller buffer bounds the blocks at the next connection.
    ASSERT_TRUE(driver.Connect());
    pty.write(std::string(40, 'x'));
    Pty::settle();
    driver.PollTick();
    ASSERT_EQ(receiver.blocks.size(), 1u);
    EXPECT_EQ(receiver.blocks[0].size(), 16u);
}

TEST_F(DriverOnPty, SpeedChangeIsAppliedAtOnceAndDropsPendingInput)
{
    driver.SetComPortSpeed(TComPortBaudRate::br2400); // closed: only stored
    ASSERT_TRUE(driver.Connect());
    EXPECT_EQ(terminalBitRate(pty.master()), 2400u);

    pty.write("stale");
    Pty::settle();
    driver.SetComPortSpeed(TComPortBaudRate::br19200);
    EXPECT_EQ(terminalBitRate(pty.master()), 19200u);
    driver.PollTick();
    EXPECT_TRUE(receiver.blocks.empty());

    pty.write("fresh");
    Pty::settle();
    driver.PollTick();
    EXPECT_EQ(receiver.all(), "fresh");
}

TEST_F(DriverOnPty, BytesQueuedBeforeConnectAreDiscarded)
{
    pty.write("left over from before");
    Pty::settle();
    ASSERT_TRUE(driver.Connect());
    driver.PollTick();
    EXPECT_TRUE(receiver.blocks.empty());
}

TEST_F(DriverOnPty, TicksDeliverAtMostOneBufferEach)
{
    ASSERT_TRUE(driver.Connect());
    driver.PollTick();
    EXPECT_TRUE(receiver.blocks.empty()) << "a tick with nothing received delivers nothing";

    std::string sent(3000, '\0');
    for (std::size_t i = 0; i < sent.size(); ++i)
        sent[i] = static_cast<char>(i * 7);
    pty.write(sent);
    Pty::settle();
    driver.PollTick();
    driver.PollTick();
    driver.PollTick();
    ASSERT_EQ(receiver.blocks.size(), 2u);
    EXPECT_EQ(receiver.blocks[0].size(), 2048u);
    EXPECT_EQ(receiver.blocks[1].size(), 952u);
    EXPECT_EQ(receiver.all(), sent);
}

TEST_F(DriverOnPty, BytesArriveInOrderWhateverTheChunking)
{
    ASSERT_TRUE(driver.Connect());
    // Every byte value, the line-ending and flow-control bytes among them, must pass untouched.
    std::string pattern;
    for (int round = 0; round < 12; ++round)
        for (int b = 0; b < 256; ++b)
            pattern.push_back(static_cast<char>(b));
    const std::size_t chunkSizes[] = {1, 3, 14, 11, 500, 2049};
    std::size_t at = 0;
    for (std::size_t i = 0; at < pattern.size(); ++i) {
        const std::size_t n = std::min(chunkSizes[i % std::size(chunkSizes)], pattern.size() - at);
        pty.write(std::string_view(pattern).substr(at, n));
        at += n;
        if (i % 2 == 0) {
            Pty::settle();
            driver.PollTick();
        }
    }
    Pty::settle();
    for (int i = 0; i < 4; ++i)
        driver.PollTick();
    EXPECT_EQ(receiver.all().size(), pattern.size());
    EXPECT_EQ(receiver.all(), pattern);
}

TEST_F(DriverOnPty, SecondOpenOfTheSamePortIsRefused)
{
    ASSERT_TRUE(driver.Connect());
    TSerialPortDriver second;
    second.SetComPortDevice(pty.slavePath());
    EXPECT_FALSE(second.Connect());
    EXPECT_EQ(second.LastError(), std::strerror(EBUSY));

    // The first keeps working; once it lets go, the second may have the port.
    pty.write("still mine");
    Pty::settle();
    driver.PollTick();
    EXPECT_EQ(receiver.all(), "still mine");
    driver.Disconnect();
    EXPECT_TRUE(second.Connect());
}

TEST_F(DriverOnPty, LineSettingsReadBackFromTheTerminal)
{
    const struct {
        TComPortBaudRate speed;
        TComPortDataBits dataBits;
        TComPortParity parity;
        TComPortStopBits stopBits;
        TComPortHwHandshaking hw;
        TComPortSwHandshaking sw;
        std::uint32_t bitsPerSecond;
        tcflag_t size, parityFlags, stopFlag, flowFlag;
    } cases[] = {
        {TComPortBaudRate::br2400, TComPortDataBits::db8BITS, TComPortParity::ptNONE, TComPortStopBits::sb1BITS,
         TComPortHwHandshaking::hhNONE, TComPortSwHandshaking::shNONE, 2400, CS8, 0, 0, 0},
        {TComPortBaudRate::br14400, TComPortDataBits::db7BITS, TComPortParity::ptEVEN, TComPortStopBits::sb2BITS,
         TComPortHwHandshaking::hhRTSCTS, TComPortSwHandshaking::shNONE, 14400, CS7, PARENB, CSTOPB, CRTSCTS},
        {TComPortBaudRate::br56000, TComPortDataBits::db5BITS, TComPortParity::ptMARK, TComPortStopBits::sb1HALFBITS,
         TComPortHwHandshaking::hhNONE, TComPortSwHandshaking::shXONXOFF, 56000, CS5, PARENB | PARODD | CMSPAR,
         CSTOPB, 0},
        {TComPortBaudRate::br110, TComPortDataBits::db6BITS, TComPortParity::ptSPACE, TComPortStopBits::sb1BITS,
         TComPortHwHandshaking::hhNONE, TComPortSwHandshaking::shNONE, 110, CS6, PARENB | CMSPAR, 0, 0},
        {TComPortBaudRate::br115200, TComPortDataBits::db8BITS, TComPortParity::ptODD, TComPortStopBits::sb1BITS,
         TComPortHwHandshaking::hhNONE, TComPortSwHandshaking::shNONE, 115200, CS8, PARENB | PARODD, 0, 0},
    };
    ASSERT_TRUE(driver.Connect());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bitsPerSecond);
        driver.SetComPortSpeed(c.speed);
        driver.SetComPortDataBits(c.dataBits);
        driver.SetComPortParity(c.parity);
        driver.SetComPortStopBits(c.stopBits);
        driver.SetComPortHwHandshaking(c.hw);
        driver.SetComPortSwHandshaking(c.sw);

        EXPECT_EQ(terminalBitRate(pty.master()), c.bitsPerSecond);
        const LineSettings asked{c.speed, c.dataBits, c.stopBits, c.parity, c.hw, c.sw, true};
        EXPECT_EQ(lineControlFlags(asked), c.size | c.parityFlags | c.stopFlag | c.flowFlag);
        termios t{};
        ASSERT_EQ(tcgetattr(pty.master(), &t), 0); // a pty's master reports its slave's settings
        // What a pty keeps of them: it forces 8 bits and no parity enable.
        EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR | CSTOPB | CRTSCTS),
                  (c.parityFlags | c.stopFlag | c.flowFlag) & (PARODD | CMSPAR | CSTOPB | CRTSCTS));
        EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL), tcflag_t(CREAD | CLOCAL));
        const bool xonXoff = c.sw == TComPortSwHandshaking::shXONXOFF;
        EXPECT_EQ((t.c_iflag & (IXON | IXOFF)) != 0, xonXoff);
        if (xonXoff) {
            EXPECT_EQ(t.c_cc[VSTART], 0x11);
            EXPECT_EQ(t.c_cc[VSTOP], 0x13);
        }
        // Raw binary: no line editing, echo, translation or parity checks.
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
        EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | INPCK | PARMRK), 0u);
        EXPECT_EQ(t.c_oflag & OPOST, 0u);
    }
}

TEST_F(DriverOnPty, VanishedDeviceClosesTheDriverAndKeepsTheReason)
{
    int lost = 0;
    driver.OnConnectionLost = [&](TSerialPortDriver *sender) {
        EXPECT_EQ(sender, &driver);
        EXPECT_FALSE(driver.IsConnected());
        ++lost;
    };
    ASSERT_TRUE(driver.Connect());
    pty.closeMaster(); // the far end goes away, as an unplugged adapter does
    Pty::settle();
    driver.PollTick();
    driver.PollTick();
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(driver.IsConnected());
    EXPECT_FALSE(driver.LastError().empty());
    EXPECT_FALSE(pollTimer()->isActive());
    EXPECT_EQ(openCount(), 0);
    EXPECT_TRUE(receiver.blocks.empty());
}

TEST_F(DriverOnPty, PollTimerDeliversOnTheEventLoop)
{
    ASSERT_TRUE(driver.Connect());
    pty.write("tick");
    QElapsedTimer waited;
    waited.start();
    while (receiver.all().size() < 4 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(receiver.all(), "tick");
}

TEST_F(DriverOnPty, PollPeriodRestartsOnlyOnAChange)
{
    driver.SetComPortPollingDelay(1000);
    ASSERT_TRUE(driver.Connect());
    usleep(300'000);
    driver.SetComPortPollingDelay(1000);
    EXPECT_LT(pollTimer()->remainingTime(), 900) << "the same period must not restart the timer";

    driver.SetComPortPollingDelay(2000);
    EXPECT_EQ(pollTimer()->interval(), 2000);
    EXPECT_GT(pollTimer()->remainingTime(), 1500);

    driver.Disconnect();
    driver.SetComPortPollingDelay(0);
    EXPECT_EQ(driver.ComPortPollingDelay(), 0);
    EXPECT_FALSE(pollTimer()->isActive());
    // A zero period would tick on every pass of the event loop and spin a core.
    ASSERT_TRUE(driver.Connect());
    EXPECT_EQ(pollTimer()->interval(), 1);
}

TEST(SerialPortDriver, SelectPortTakesComNamesOrDevicePaths)
{
    const struct {
        const char *name;
        const char *portName;
        TComPortNumber port;
    } cases[] = {
        {"COM1", "COM1", TComPortNumber::pnCOM1},
        {"com4", "COM4", TComPortNumber::pnCOM4},
        {"/dev/ttyUSB0", "/dev/ttyUSB0", TComPortNumber::pnCOM2},
        {"COM5", "COM5", TComPortNumber::pnCOM2}, // no such COM port: taken as a path
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TSerialPortDriver driver;
        SelectPort(driver, c.name);
        EXPECT_EQ(driver.PortName(), c.portName);
        EXPECT_EQ(driver.ComPort(), c.port);
    }
}

} // namespace
} // namespace kx::link
