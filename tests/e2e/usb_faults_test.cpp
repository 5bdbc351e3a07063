// The USB adapter pulled out while the window reads the meter through it, and plugged back.

#include "log/log_table.h"
#include "meter/usb_reports.h"
#include "tests/app/window_fixture.h"
#include "tests/e2e/process_usage.h"
#include "tests/e2e/scenario.h"
#include "tests/support/adapter_reports.h"

#include <QListWidget>
#include <QPushButton>

#include <atomic>
#include <thread>

namespace kx::e2e {
namespace {

using UsbFaults = app::testing::WindowFixture;

int linesStartingWith(const QListWidget &list, const QString &start)
{
    int n = 0;
    for (int i = 0; i < list.count(); ++i)
        n += list.item(i)->text().startsWith(start) ? 1 : 0;
    return n;
}

TEST_F(UsbFaults, TheAdapterRemovedWhileReadingIsSaidOnceWithoutSpinningAndUsbConnectWorksOnceItIsBack)
{
    link::test::TestHidDevice adapter;
    adapter.InstanceID = "usb-3-1";
    hid->plug(adapter);
    open();
    child<QAbstractButton>("RepeatSet")->click(); // every frame logged
    auto *usbConnect = child<QPushButton>("USBCon");
    usbConnect->click();
    ASSERT_TRUE(waitFor([&] { return hid->readChannels(adapter.InstanceID) == 1; }));

    // The meter streams for a while; then the cable comes out in the middle of a frame.
    const std::vector<ScenarioFrame> frames = buildScenario();
    std::atomic<bool> stop = false, stopped = false;
    std::jthread meter([&] {
        for (std::size_t i = 0; !stop; i = (i + 1) % frames.size())
            for (const link::test::Report &report : link::test::adapterReports(frames[i].bytes))
                hid->sendReport(adapter.InstanceID, report);
        stopped = true;
    });
    ASSERT_TRUE(waitFor([&] { return window->T38BDB().count() >= 20; }));
    stop = true;
    // Its last reports wait for this thread to take them over.
    ASSERT_TRUE(waitFor([&] { return stopped.load(); }));
    const link::test::Report firstHalf = link::test::adapterReports(frames[0].bytes).front();
    ASSERT_TRUE(hid->sendReport(adapter.InstanceID, firstHalf));
    const auto *history = child<QListWidget>("HistoryListBox");
    const QString halfLine = QString::fromStdString("R 00  " + meter::hexBytes(firstHalf.data(), firstHalf.size()));
    ASSERT_TRUE(waitFor([&] { return history->currentItem()->text() == halfLine; }));
    hid->unplug(adapter.InstanceID);
    auto *devices = child<QListWidget>("DevListBox");
    ASSERT_TRUE(waitFor([&] { return devices->count() == 0; }));

    const double share = coreShareWhileIdle(1000);
    EXPECT_EQ(linesStartingWith(*history, QStringLiteral("Removal of ")), 1);
    EXPECT_LE(linesStartingWith(*history, QStringLiteral("READ ERROR")), 1) << "no line per failed read";
    EXPECT_TRUE(boxes.shown.isEmpty() && boxes.errors.isEmpty()) << (boxes.shown + boxes.errors).join(u'\n').toStdString();
    EXPECT_LT(share, 0.2) << "no reading of a device that is gone";

    // Back in: "USB Connect", raised and pressed again, reads it.
    hid->plug(adapter);
    ASSERT_TRUE(waitFor([&] { return devices->count() == 1; }));
    if (usbConnect->isChecked())
        usbConnect->click();
    usbConnect->click();
    ASSERT_TRUE(waitFor([&] { return hid->readChannels(adapter.InstanceID) == 1; }));
    const std::int64_t logged = window->T38BDB().count();
    for (const link::test::Report &report : link::test::adapterReports(frames[1].bytes))
        ASSERT_TRUE(hid->sendReport(adapter.InstanceID, report));
    // That frame is shown and logged, not what the cable left half gathered.
    EXPECT_TRUE(waitFor([&] { return window->T38BDB().count() == logged + 1; }));
    EXPECT_EQ(window->meter().state.LastFrame, frames[1].lastFrame);
}

} // namespace
} // namespace kx::e2e
