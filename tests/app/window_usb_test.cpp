// The window reading the meter through the USB cable: the adapter in memory, the real controller,
// reader thread and report handlers.

#include "build_frames.h"
#include "link/hid_device_controller.h"
#include "log/log_table.h"
#include "log/trend_chart.h"
#include "tests/support/adapter_reports.h"
#include "window_fixture.h"

#include <QListWidget>
#include <QPushButton>

namespace kx::app::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// What the meter sends through the adapter for one reading of this build.
#if defined(KX52B_BUILD_40K)
// The line's nine data bytes, then carriage return and line feed.
Bytes meterBytes(const BuildFrame &frame)
{
    Bytes bytes(frame.bytes.begin() + 1, frame.bytes.end());
    bytes.push_back(0x0A);
    return bytes;
}
#else
Bytes meterBytes(const BuildFrame &frame) { return Bytes(frame.bytes.begin(), frame.bytes.end()); }
#endif

class WindowOnUsb : public WindowFixture {
protected:
    static constexpr const char *kAdapter = "usb-1-2";

    void SetUp() override
    {
        WindowFixture::SetUp();
        link::test::TestHidDevice adapter;
        adapter.InstanceID = kAdapter;
        hid->plug(adapter);
    }
    void send(const Bytes &bytes)
    {
        for (const link::test::Report &report : link::test::adapterReports(bytes))
            ASSERT_TRUE(hid->sendReport(kAdapter, report));
    }
};

TEST_F(WindowOnUsb, USBConnectReadsTheAdapterIntoLcdLogAndChart)
{
    open();
    auto *list = child<QListWidget>("DevListBox");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentItem()->text(), "USB to Serial");
    child<QPushButton>("USBCon")->click();
    ASSERT_TRUE(waitFor([&] { return hid->readChannels(kAdapter) == 1; }));
    EXPECT_EQ(hid->featureReports(kAdapter).size(), 1u);

    for (int i = 0; i < 3; ++i) {
        send(meterBytes(readingFrame(i)));
        ASSERT_TRUE(waitFor([&] { return window->meter().state.DisplayText == readingFrame(i).displayText; })) << i;
    }
    EXPECT_EQ(window->T38BDB().count(), 3);
    EXPECT_GE(child<log::TrendChart>("Chtshow")->paging().points(log::ChartSeries::Line).size(), 3u);
    EXPECT_TRUE(child("Panel1")->accessibleName().contains(QString::fromStdString(readingFrame(2).displayText)));
    EXPECT_TRUE(child("CONok")->isVisible());

    // Raising the button stops the reader.
    child<QPushButton>("USBCon")->click();
    EXPECT_TRUE(waitFor([&] { return hid->readChannels(kAdapter) == 0; }));
}

TEST_F(WindowOnUsb, TheAdapterUnpluggedWhileReadingIsSaidAndNothingSpins)
{
    open();
    child<QPushButton>("USBCon")->click();
    ASSERT_TRUE(waitFor([&] { return hid->readChannels(kAdapter) == 1; }));
    hid->unplug(kAdapter);
    ASSERT_TRUE(waitFor([&] { return child<QListWidget>("DevListBox")->count() == 0; }));
    const auto *history = child<QListWidget>("HistoryListBox");
    const int lines = history->count();
    waitFor([] { return false; }, 500);
    EXPECT_LE(history->count(), lines + 2) << "no line per failed read";

    link::test::TestHidDevice back;
    back.InstanceID = "usb-1-2-again";
    hid->plug(back);
    ASSERT_TRUE(waitFor([&] { return child<QListWidget>("DevListBox")->count() == 1; }));
    auto *usbCon = child<QPushButton>("USBCon");
    if (usbCon->isChecked())
        usbCon->click();
    usbCon->click();
    EXPECT_TRUE(waitFor([&] { return hid->readChannels("usb-1-2-again") == 1; }));
}

} // namespace
} // namespace kx::app::testing
