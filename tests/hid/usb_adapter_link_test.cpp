// The window's USB adapter link with real widgets, offscreen, on the test platform's devices and
// the five-digit build's headless data path.
#include "link/hid_read_thread.h"
#include "link/usb_adapter_link.h"
#include "meter/usb_report_handlers.h"
#include "tests/hid/hid_rig.h"
#include "tests/meter/meter_rig.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace kx::link::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

const Bytes kFeatureReport{0x00, 0x60, 0x09, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00};
const Bytes kIdle{0xF0, 0, 0, 0, 0, 0, 0, 0};
constexpr std::int32_t kIdleThreshold = 20;

TestHidDevice device(std::string id, std::optional<std::u16string> product, std::optional<std::u16string> serial = {})
{
    TestHidDevice d = adapter(std::move(id));
    d.product = std::move(product);
    d.serial = std::move(serial);
    return d;
}

// The adapter's reports carrying BYTES, seven at most in each, padded to eight data bytes.
std::vector<Bytes> dataReports(const Bytes &bytes)
{
    std::vector<Bytes> reports;
    for (std::size_t at = 0; at < bytes.size(); at += 7) {
        const std::size_t n = std::min<std::size_t>(7, bytes.size() - at);
        Bytes report{static_cast<std::uint8_t>(0xF0 | n)};
        report.insert(report.end(), bytes.begin() + at, bytes.begin() + at + n);
        report.resize(8);
        reports.push_back(report);
    }
    return reports;
}

struct LinkRig {
    explicit LinkRig(const std::vector<TestHidDevice> &plugged)
    {
        for (const TestHidDevice &d : plugged)
            hid.platform->plug(d);
        hid.start();
        UsbAdapterHooks hooks;
        hooks.segmentData = [this](meter::UsbReports &r, std::uint8_t id, const std::uint8_t *data, std::uint16_t size) {
            return meter::HidSegmentData(data_.meter, r, id, data, size);
        };
        hooks.connectData = [this](meter::UsbReports &r, std::uint8_t id, const std::uint8_t *data, std::uint16_t size) {
            return meter::HidExtendedData(data_.meter, r, id, data, size);
        };
        hooks.messages = [this](const QString &text) { messages.push_back(text.toStdString()); };
        hooks.frameFailure = [this](const std::string &failure) { failures.push_back(failure); };
        hooks.idleThreshold = kIdleThreshold;
        link.emplace(widgets, hid.ctl(), hooks);
    }
    ~LinkRig() { link.reset(); }

    Lines entries(QListWidget *list) const
    {
        Lines lines;
        for (int row = 0; row < list->count(); ++row)
            lines.push_back(list->item(row)->text().toStdString());
        return lines;
    }
    Lines devices() const { return entries(widgets.DevListBox); }
    Lines history() const { return entries(widgets.HistoryListBox); }
    int selectedDevice() const
    {
        const QListWidgetItem *item = widgets.DevListBox->currentItem();
        return item && item->isSelected() ? widgets.DevListBox->currentRow() : -1;
    }
    // Sends REPORTS from the device and waits until the link has handled them all.
    void send(const std::string &id, const std::vector<Bytes> &reports)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return hid.platform->readChannels(id) == 1; }));
        received = 0;
        for (const Bytes &report : reports)
            hid.platform->sendReport(id, report);
        ASSERT_TRUE(QTest::qWaitFor([&] { return received == reports.size(); }));
    }

    HidRig hid;
    meter::test::Rig data_;
    QWidget window;
    UsbAdapterWidgets widgets{new QListWidget(&window), new QListWidget(&window), new QPushButton(&window),
                              new QPushButton(&window), new QPushButton(&window), new QPushButton(&window),
                              new QPushButton(&window), new QLabel(&window)};
    std::optional<UsbAdapterLink> link;
    Lines messages;
    Lines failures;
    std::size_t received = 0;
};

// Counts the reports the link's handler takes, to wait for them.
void countReports(LinkRig &rig)
{
    THidDevice *device = rig.link->CurrentDevice();
    const THidDataEvent handler = device->DataHandler();
    device->SetDataHandler([&rig, handler](THidDevice *d, std::uint8_t id, const std::uint8_t *data, std::uint16_t size) {
        handler(d, id, data, size);
        ++rig.received;
    });
}

TEST(UsbAdapterLink, StartUpListsAndClaimsEveryDeviceAndSelectsTheAdapter)
{
    struct Case {
        std::vector<TestHidDevice> devices;
        Lines entries;
        int selected;
    };
    TestHidDevice unnamed = device("u", std::nullopt);
    unnamed.attributes = {0x046D, 0xC077, 0x0100};
    const std::vector<Case> cases{
        {{device("m", u"USB Optical Mouse"), device("a", u"USB to Serial"), unnamed},
         {"USB Optical Mouse", "USB to Serial", "Device VID=046D PID=C077"}, 1},
        {{device("a", u"USB to Serial"), device("b", u"USB to Serial"), device("s", u"USB to Serial", u"S1")},
         {"USB to Serial", "USB to Serial", "USB to Serial (Serial=S1)"}, 1},
        {{device("s", u"USB to Serial", u"S1")}, {"USB to Serial (Serial=S1)"}, -1},
        {{}, {}, -1},
    };
    for (const Case &c : cases) {
        LinkRig rig(c.devices);
        EXPECT_EQ(rig.devices(), c.entries);
        EXPECT_EQ(rig.selectedDevice(), c.selected);
        for (std::int32_t i = 0; i < rig.hid.ctl().Count(); ++i)
            EXPECT_TRUE(rig.hid.ctl().Devices(i)->Claimed());
        EXPECT_EQ(rig.widgets.USBCon->toolTip().toStdString(),
                  c.selected >= 0 ? "Reads USB to Serial" : "No \"USB to Serial\" adapter is present");
    }
}

TEST(UsbAdapterLink, ControlsCarryTheirNamesAndCaptions)
{
    LinkRig rig({});
    const std::vector<std::pair<QWidget *, const char *>> named{
        {rig.widgets.USBCon, "USBCon"}, {rig.widgets.ReadBtn, "ReadBtn"}, {rig.widgets.SetFeature, "SetFeature"},
        {rig.widgets.ClearBtn, "ClearBtn"}, {rig.widgets.InfoBtn, "InfoBtn"}, {rig.widgets.DevListBox, "DevListBox"},
        {rig.widgets.HistoryListBox, "HistoryListBox"}, {rig.widgets.USBtxt, "USBtxt"}};
    for (const auto &[widget, name] : named) {
        EXPECT_EQ(widget->objectName().toStdString(), name);
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << name;
    }
    EXPECT_EQ(rig.widgets.USBCon->text().toStdString(), "USB Connect");
    EXPECT_TRUE(rig.widgets.USBCon->isCheckable());
    EXPECT_EQ(rig.widgets.USBtxt->text().toStdString(), "6001");
}

TEST(UsbAdapterLink, UsbConnectConfiguresTheAdapterAndDecodesItsFrames)
{
    LinkRig rig({device("m", u"USB Optical Mouse"), device("a", u"USB to Serial")});
    rig.widgets.USBCon->click();
    ASSERT_TRUE(rig.widgets.USBCon->isChecked());
    EXPECT_EQ(rig.link->CurrentDevice(), rig.hid.ctl().Devices(1));
    EXPECT_EQ(rig.hid.platform->featureReports("a"), std::vector<Bytes>{kFeatureReport});
    EXPECT_EQ(rig.history(), Lines{"00 60 09 00 00 03 00 00 00 00 "});
    countReports(rig);

    // A part of a line (the reader came in mid-line) fails alone; the next line decodes.
    std::vector<Bytes> reports = dataReports({0x38, 0x39, 0x0D, 0x0A});
    reports.push_back(kIdle);
    for (const Bytes &report : dataReports({0x31, 0x32, 0x33, 0x34, 0x35, 0x32, 0x31, 0x30, 0x31, 0x0D, 0x0A}))
        reports.push_back(report);
    reports.push_back(kIdle);
    rig.send("a", reports);
    EXPECT_EQ(rig.failures.size(), 1u);
    EXPECT_EQ(rig.data_.meter.state.DisplayText, "12.345");
    EXPECT_EQ(rig.data_.window.decoderRuns, 2);
    EXPECT_EQ(rig.history().back(), "R 00  F4 30 31 0D 0A 00 00 00 ");
    EXPECT_EQ(rig.widgets.HistoryListBox->currentRow(), rig.widgets.HistoryListBox->count() - 1);

    rig.widgets.USBCon->click();
    EXPECT_FALSE(rig.hid.ctl().Devices(1)->Reading());
    EXPECT_EQ(rig.hid.platform->featureReports("a").size(), 2u) << "raising it configures the adapter again";
    EXPECT_TRUE(rig.messages.empty());
}

TEST(UsbAdapterLink, ReadDecodesSegmentFramesAndShowsThem)
{
    LinkRig rig({device("a", u"USB to Serial")});
    rig.widgets.ReadBtn->click();
    ASSERT_TRUE(rig.hid.ctl().Devices(0)->Reading());
    countReports(rig);
    std::vector<Bytes> reports =
        dataReports({0x16, 0x28, 0x35, 0x4D, 0x5B, 0x61, 0x7F, 0x82, 0x97, 0xA0, 0xB0, 0xC0, 0xD4, 0xE0});
    reports.push_back(kIdle);
    rig.send("a", reports);
    EXPECT_EQ(rig.data_.window.USBtxt, "685DB1F2700040");
    EXPECT_EQ(rig.data_.meter.state.DisplayText, "-1.234");
    rig.widgets.ReadBtn->click();
    EXPECT_FALSE(rig.hid.ctl().Devices(0)->Reading());
}

TEST(UsbAdapterLink, IdleAdapterStopsReadingAtTheThreshold)
{
    LinkRig rig({device("a", u"USB to Serial")});
    rig.widgets.USBCon->click();
    countReports(rig);
    rig.send("a", std::vector<Bytes>(kIdleThreshold - 1, kIdle));
    rig.link->UsbIdleCheck();
    EXPECT_TRUE(rig.widgets.USBCon->isChecked());
    rig.send("a", {kIdle});
    rig.link->UsbIdleCheck();
    EXPECT_FALSE(rig.widgets.USBCon->isChecked());
    EXPECT_FALSE(rig.hid.ctl().Devices(0)->Reading());
    EXPECT_EQ(rig.messages, Lines{"USB interface cable is securely connected, please check if the meter is ready."});
    EXPECT_EQ(rig.link->Reports().UsbIdleReports, 0);
}

TEST(UsbAdapterLink, NoAdapterOrNoAccessRaisesUsbConnectAndSaysWhy)
{
    {
        LinkRig none({device("m", u"USB Optical Mouse")});
        none.widgets.USBCon->click();
        EXPECT_FALSE(none.widgets.USBCon->isChecked());
        EXPECT_EQ(none.messages, Lines{"USB interface cable is not securely connected, please check and re-try."});
    }

    TestHidDevice locked = device("a", u"USB to Serial");
    locked.writable = false;
    LinkRig rig({locked});
    rig.widgets.USBCon->click();
    EXPECT_FALSE(rig.widgets.USBCon->isChecked());
    ASSERT_EQ(rig.messages.size(), 1u);
    EXPECT_NE(rig.messages[0].find("Permission denied"), std::string::npos) << rig.messages[0];
    EXPECT_NE(rig.messages[0].find("70-kx52b-usb-serial.rules"), std::string::npos) << rig.messages[0];
    rig.widgets.InfoBtn->click();
    ASSERT_EQ(rig.messages.size(), 2u);
    EXPECT_NE(rig.messages[1].find("Read and write: no (Permission denied): install the udev rule 70-kx52b-usb-serial.rules"),
              std::string::npos) << rig.messages[1];
}

TEST(UsbAdapterLink, InfoDescribesTheSelectedDevice)
{
    LinkRig rig({device("a", u"USB to Serial", u"S1")});
    rig.widgets.DevListBox->setCurrentRow(0);
    rig.widgets.InfoBtn->click();
    EXPECT_EQ(rig.messages, Lines{"Path: /dev/test-hidraw0\n"
                                  "Vendor ID: 1A86, product ID: E008, version: 0110\n"
                                  "Product: USB to Serial\n"
                                  "Serial number: S1\n"
                                  "Input report: 9 bytes\n"
                                  "Read and write: yes"});
}

TEST(UsbAdapterLink, PlugAndUnplugRebuildTheList)
{
    LinkRig rig({device("m", u"USB Optical Mouse")});
    rig.hid.platform->plug(device("a", u"USB to Serial"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.devices().size() == 2; }));
    EXPECT_EQ(rig.history(), Lines{"Arrival of USB to Serial"});
    EXPECT_EQ(rig.selectedDevice(), 1);

    rig.widgets.USBCon->click();
    ASSERT_TRUE(rig.hid.ctl().Devices(1)->Reading());
    rig.hid.platform->unplug("a");
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.devices().size() == 1; }));
    EXPECT_EQ(rig.history().back(), "Removal of USB to Serial");
    EXPECT_TRUE(rig.widgets.USBCon->isChecked()) << "stays down until clicked";
    EXPECT_EQ(rig.link->CurrentDevice(), nullptr);
    EXPECT_EQ(rig.selectedDevice(), -1);
    QTest::qWait(THidDeviceReadThread::kRetryPauseMs);
    // Between the hang-up and the device change the reader may report that it cannot read.
    const Lines lines = rig.history();
    EXPECT_LE(std::count(lines.begin(), lines.end(), "READ ERROR: No such device (13)"), 1) << "no flood";
    EXPECT_EQ(lines.size() - std::count(lines.begin(), lines.end(), "READ ERROR: No such device (13)"), 3u);
}

TEST(UsbAdapterLink, HistoryKeepsTheLatestLinesUntilCleared)
{
    LinkRig rig({device("a", u"USB to Serial")});
    for (int i = 0; i < 1005; ++i)
        rig.widgets.SetFeature->click();
    EXPECT_EQ(rig.widgets.HistoryListBox->count(), 1000);
    EXPECT_EQ(rig.widgets.HistoryListBox->currentRow(), 999);
    rig.widgets.ClearBtn->click();
    EXPECT_EQ(rig.widgets.HistoryListBox->count(), 0);
}

} // namespace
} // namespace kx::link::test
