#include "link/exclusive_toggle_group.h"
#include "link/serial_connection_controls.h"
#include "link/serial_port_driver.h"
#include "tests/link/pty.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace kx::link {
namespace {

// The port controls as the window places them, over a real driver whose COM1 is a pty.
class PortControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(pty.slavePath().empty());
        qputenv("KX52B_COM1", QByteArray::fromStdString(pty.slavePath()));
        qputenv("KX52B_COM2", "/dev/kx52b-no-such-port");
        for (int i = 0; i < 4; ++i)
            widgets.BtCOM[std::size_t(i)] = new QPushButton(&window);
        widgets.BTCon = new QPushButton(&window);
        widgets.BtDiscon = new QPushButton(&window);
        widgets.COMCon = new QPushButton(&window);
        group.add(widgets.COMCon);
        group.add(usbCon);
        controls = std::make_unique<SerialConnectionControls>(
            widgets, driver, [this](const QString &text) { messages << text; }, &window);
        window.show();
    }
    void TearDown() override
    {
        qunsetenv("KX52B_COM1");
        qunsetenv("KX52B_COM2");
    }

    QAction *item(const char *name) { return window.findChild<QAction *>(QString::fromLatin1(name)); }
    bool shown(QWidget *w) { return w->isVisibleTo(&window); }
    void waitFor(const std::function<bool()> &done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    test::Pty pty;
    QWidget window;
    TSerialPortDriver driver;
    SerialConnectionWidgets widgets;
    ExclusiveToggleGroup group;
    QPushButton *usbCon = new QPushButton(&window);
    std::unique_ptr<SerialConnectionControls> controls;
    QStringList messages;
};

TEST_F(PortControls, StartAsTheWindowOpens)
{
    EXPECT_TRUE(item("COM11")->isChecked());
    EXPECT_FALSE(item("STOP1")->isEnabled());
    EXPECT_TRUE(shown(widgets.BtCOM[0]));
    EXPECT_FALSE(shown(widgets.BtCOM[1]));
    EXPECT_TRUE(shown(widgets.BTCon));
    EXPECT_FALSE(shown(widgets.BtDiscon));
    EXPECT_EQ(widgets.COMCon->text(), "COM Connect");
    EXPECT_EQ(driver.ComPort(), TComPortNumber::pnCOM1);
}

TEST_F(PortControls, ThePanelCOM4SelectsPort1)
{
    item("COM41")->trigger();
    ASSERT_TRUE(shown(widgets.BtCOM[3]));
    widgets.BtCOM[3]->click();
    EXPECT_TRUE(item("COM11")->isChecked());
    EXPECT_TRUE(shown(widgets.BtCOM[0]));
    EXPECT_FALSE(shown(widgets.BtCOM[3]));
    EXPECT_EQ(driver.ComPort(), TComPortNumber::pnCOM1);
}

TEST_F(PortControls, StartAndStopFromTheMenuLeaveTheToggleAlone)
{
    item("START1")->trigger();
    EXPECT_TRUE(driver.IsConnected());
    EXPECT_TRUE(item("START1")->isChecked());
    EXPECT_FALSE(item("START1")->isEnabled());
    EXPECT_FALSE(controls->ComSetup1()->isEnabled());
    EXPECT_FALSE(widgets.BtCOM[0]->isEnabled());
    EXPECT_TRUE(shown(widgets.BtDiscon));
    EXPECT_FALSE(widgets.COMCon->isChecked());

    // The toggle pressed while the menu connected keeps the port; raising it closes the port.
    widgets.COMCon->click();
    EXPECT_TRUE(driver.IsConnected());
    widgets.COMCon->click();
    EXPECT_FALSE(driver.IsConnected());
    EXPECT_TRUE(item("STOP1")->isChecked());
    EXPECT_FALSE(item("STOP1")->isEnabled());
    EXPECT_TRUE(item("START1")->isEnabled());
    EXPECT_TRUE(widgets.BtCOM[0]->isEnabled());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PortControls, AMissingPortRaisesTheToggleAndSaysWhichDeviceAndWhy)
{
    item("COM21")->trigger();
    widgets.COMCon->click();
    EXPECT_FALSE(driver.IsConnected());
    EXPECT_FALSE(widgets.COMCon->isChecked());
    EXPECT_TRUE(shown(widgets.BTCon));
    EXPECT_TRUE(controls->ComSetup1()->isEnabled());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("COM2 (/dev/kx52b-no-such-port)")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("No such file or directory"));
}

TEST_F(PortControls, AnUnpluggedMeterIsSaidOnceAndTheControlsCloseThenConnectWorksAgain)
{
    widgets.COMCon->click();
    ASSERT_TRUE(driver.IsConnected());
    pty.closeMaster();
    waitFor([&] { return !driver.IsConnected(); });
    QCoreApplication::processEvents();
    EXPECT_FALSE(driver.IsConnected());
    EXPECT_FALSE(widgets.COMCon->isChecked());
    EXPECT_TRUE(shown(widgets.BTCon));
    EXPECT_TRUE(controls->ComSetup1()->isEnabled());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("went away")) << messages[0].toStdString();

    test::Pty back;
    qputenv("KX52B_COM1", QByteArray::fromStdString(back.slavePath()));
    widgets.COMCon->click();
    EXPECT_TRUE(driver.IsConnected());
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(PortControls, PressingOneToggleRaisesTheOtherWithoutItsAction)
{
    widgets.COMCon->click();
    ASSERT_TRUE(driver.IsConnected());
    usbCon->click();
    EXPECT_TRUE(usbCon->isChecked());
    EXPECT_FALSE(widgets.COMCon->isChecked());
    // The raised button's action did not run: the port stays open.
    EXPECT_TRUE(driver.IsConnected());
    widgets.COMCon->click();
    EXPECT_FALSE(usbCon->isChecked());
}

TEST_F(PortControls, PanelTooltipsNameTheMappedDevice)
{
    EXPECT_EQ(portPanelTooltip(TComPortNumber::pnCOM1), QString::fromStdString("COM1 is " + pty.slavePath()));
}

} // namespace
} // namespace kx::link
