#include "link/link_watchdog.h"
#include "link/serial_connection.h"

#include <gtest/gtest.h>

#include <vector>

namespace kx::link {
namespace {

struct FakePort : SerialPortHandle {
    void selectPort(TComPortNumber port) override
    {
        if (!isOpen)
            selected = port;
    }
    bool open() override
    {
        ++opens;
        isOpen = isOpen || failure.empty();
        return isOpen;
    }
    void close() override { isOpen = false; }
    std::string failureText() const override { return failure; }
    std::string devicePath() const override { return device; }

    TComPortNumber selected = TComPortNumber::pnCOM4;
    bool isOpen = false;
    int opens = 0;
    std::string failure;
    std::string device = "/dev/ttyUSB0";
};

TEST(SerialConnection, PanelsCycleThroughThePortsAndMenuItemsPickTheirOwn)
{
    FakePort port;
    SerialConnection c(port);
    EXPECT_EQ(port.selected, TComPortNumber::pnCOM1);
    const std::vector<TComPortNumber> expected{TComPortNumber::pnCOM2, TComPortNumber::pnCOM3,
                                               TComPortNumber::pnCOM4, TComPortNumber::pnCOM1};
    for (TComPortNumber next : expected) {
        c.selectNextPort();
        EXPECT_EQ(c.view().port, next);
        EXPECT_EQ(port.selected, next);
    }
    c.selectPort(TComPortNumber::pnCOM3);
    EXPECT_EQ(port.selected, TComPortNumber::pnCOM3);
}

TEST(SerialConnection, StartThenStopLeavesStopCheckedAndDisabled)
{
    FakePort port;
    SerialConnection c(port);
    EXPECT_FALSE(c.view().stopChecked);
    EXPECT_FALSE(c.view().stopEnabled());
    ASSERT_FALSE(c.connect());
    EXPECT_TRUE(port.isOpen);
    EXPECT_TRUE(c.view().startChecked());
    EXPECT_FALSE(c.view().startEnabled());
    EXPECT_TRUE(c.view().stopEnabled());
    EXPECT_FALSE(c.view().portChoiceEnabled());

    // A second connect (the toggle while the menu connected) keeps the port open.
    ASSERT_FALSE(c.connect());
    EXPECT_TRUE(port.isOpen);

    c.disconnect();
    EXPECT_FALSE(port.isOpen);
    EXPECT_TRUE(c.view().stopChecked);
    EXPECT_FALSE(c.view().stopEnabled());
    EXPECT_FALSE(c.view().startChecked());
    EXPECT_TRUE(c.view().startEnabled());
    EXPECT_TRUE(c.view().portChoiceEnabled());
}

TEST(SerialConnection, APortThatDoesNotOpenLeavesTheControlsClosedAndSaysWhy)
{
    FakePort port;
    port.failure = "Permission denied";
    SerialConnection c(port);
    const std::optional<std::string> message = c.connect();
    ASSERT_TRUE(message);
    EXPECT_NE(message->find("COM1 (/dev/ttyUSB0)"), std::string::npos) << *message;
    EXPECT_NE(message->find("Permission denied"), std::string::npos);
    EXPECT_NE(message->find("dialout"), std::string::npos);
    EXPECT_FALSE(c.view().connected);
    EXPECT_TRUE(c.view().portChoiceEnabled());
    EXPECT_TRUE(c.view().startEnabled());
}

TEST(SerialConnection, OpenFailuresNameTheirRemedy)
{
    const struct {
        const char *reason;
        const char *remedy;
    } cases[] = {
        {"Permission denied", "dialout"},
        {"Device or resource busy", "Another program"},
        {"No such file or directory", "plugged in"},
        {"no serial device found for COM2 (set KX52B_COM2 to a device path)", "KX52B_COM2"},
    };
    for (const auto &c : cases) {
        const std::string message = openFailureMessage("COM2", c.reason);
        EXPECT_EQ(message.rfind("Cannot open COM2: ", 0), 0u) << message;
        EXPECT_NE(message.find(c.remedy), std::string::npos) << message;
    }
}

TEST(SerialConnection, ALostPortClosesTheControlsAndNamesThePort)
{
    FakePort port;
    SerialConnection c(port);
    ASSERT_FALSE(c.connect());
    port.failure = "Input/output error";
    const std::string message = c.connectionLost();
    EXPECT_NE(message.find("COM1 (/dev/ttyUSB0) went away: Input/output error"), std::string::npos) << message;
    EXPECT_FALSE(c.view().connected);
    EXPECT_FALSE(port.isOpen);
}

TEST(LinkWatchdog, TheNoLinkIconComesOnTheThirdTickAfterTheLastFrameThenEveryThird)
{
    std::int32_t idle = 0;
    // Frames every other tick keep the link.
    for (int tick = 0; tick < 10; ++tick) {
        EXPECT_FALSE(linkWatchdogTick(idle));
        if (tick % 2 == 1)
            idle = 0;
    }
    idle = 0; // the last frame
    std::vector<int> noLinkTicks;
    for (int tick = 1; tick <= 9; ++tick)
        if (linkWatchdogTick(idle))
            noLinkTicks.push_back(tick);
    EXPECT_EQ(noLinkTicks, (std::vector<int>{3, 6, 9}));
}

} // namespace
} // namespace kx::link
