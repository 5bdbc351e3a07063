// The device list and the devices' identity on the test platform.
#include "tests/hid/hid_rig.h"

#include <gtest/gtest.h>

namespace kx::link::test {
namespace {

using Events = std::vector<std::string>;

TEST(HidController, DevicesAtStartAreListedQuietlyAndLaterOnesArrive)
{
    HidRig rig;
    rig.platform->plug(adapter("a"));
    rig.platform->plug(adapter("b"));
    rig.start();
    EXPECT_EQ(rig.instances(), (Events{"a", "b"}));
    rig.ctl().SetOnDeviceChange([&] { rig.events.push_back("change"); });
    EXPECT_EQ(rig.events, Events{"change"}) << "assigning the handler runs it once, with no change";
    rig.ctl().SetOnDeviceChange(rig.ctl().OnDeviceChange());
    EXPECT_EQ(rig.events, Events{"change"}) << "the same handler again: nothing";

    rig.events.clear();
    rig.platform->plug(adapter("c"));
    rig.settle();
    EXPECT_EQ(rig.events, (Events{"arrival c", "change"}));
    EXPECT_EQ(rig.instances(), (Events{"a", "b", "c"}));
}

TEST(HidController, UnplugRemovesAnUnclaimedDeviceAndKeepsAClaimedOneUntilReleased)
{
    HidRig rig;
    rig.platform->plug(adapter("a"));
    rig.platform->plug(adapter("b"));
    rig.start();
    rig.ctl().SetOnDeviceChange([&] { rig.events.push_back("change"); });
    THidDevice *claimed = rig.ctl().ClaimByIndex(1);
    ASSERT_NE(claimed, nullptr);
    int unplugs = 0;
    claimed->SetUnplugHandler([&](THidDevice *) { ++unplugs; });
    rig.events.clear();

    rig.platform->unplug("a");
    rig.platform->unplug("b");
    rig.settle();
    EXPECT_EQ(rig.events, (Events{"removal b", "removal a", "change"}));
    EXPECT_EQ(rig.instances(), Events{"b"});
    EXPECT_FALSE(claimed->Present());
    EXPECT_EQ(unplugs, 1);
    EXPECT_FALSE(claimed->SendFeatureReport(std::vector<std::uint8_t>(10).data(), 10));

    rig.ctl().DeviceChange();
    EXPECT_EQ(rig.events.size(), 3u) << "a device known to be gone is not reported again";
    rig.ctl().Release(claimed);
    EXPECT_EQ(rig.ctl().Count(), 0);
}

TEST(HidController, ReleaseLeavesAnUnclaimedTwinAtTheSamePosition)
{
    HidRig rig;
    for (const char *id : {"a", "b", "c"})
        rig.platform->plug(adapter(id));
    rig.start();
    THidDevice *claimed = rig.ctl().ClaimByIndex(1);
    claimed->SetSleepTime(250);
    const THidPlugEvent unplug = [](THidDevice *) {};
    claimed->SetUnplugHandler(unplug);
    rig.ctl().Release(claimed);

    EXPECT_EQ(rig.instances(), (Events{"a", "b", "c"}));
    THidDevice *twin = rig.ctl().Devices(1);
    EXPECT_FALSE(twin->Claimed());
    EXPECT_TRUE(twin->Present());
    EXPECT_EQ(twin->SleepTime(), 250);
    EXPECT_EQ(twin->UnplugHandler(), unplug);
    EXPECT_NE(rig.ctl().ClaimByIndex(1), nullptr) << "the twin can be claimed again";
}

TEST(HidController, ClaimByIndexRefusesPositionsOutsideTheListAndClaimedDevices)
{
    HidRig rig;
    rig.platform->plug(adapter("a"));
    rig.platform->plug(adapter("b"));
    rig.start();
    ASSERT_NE(rig.ctl().ClaimByIndex(0), nullptr);
    for (std::int32_t index : {-1, 2, 0})
        EXPECT_EQ(rig.ctl().ClaimByIndex(index), nullptr) << index;
}

TEST(HidController, EnumerateOffersPresentDevicesUntilTheHandlerSaysStop)
{
    HidRig rig;
    rig.start();
    EXPECT_EQ(rig.ctl().Enumerate(), 0);
    for (const char *id : {"a", "b", "c"})
        rig.platform->plug(adapter(id));
    rig.ctl().DeviceChange();
    EXPECT_EQ(rig.ctl().Enumerate(), 1) << "without a handler, the first device only";

    std::vector<std::int32_t> offered;
    rig.ctl().SetOnEnumerate([&](THidDevice *d, std::int32_t i) {
        EXPECT_TRUE(d->Enumerating());
        EXPECT_EQ(d->ProductName(), "USB to Serial") << "an enumerated device can be asked its strings";
        offered.push_back(i);
        return i < 1;
    });
    EXPECT_EQ(rig.ctl().Enumerate(), 2);
    EXPECT_EQ(offered, (std::vector<std::int32_t>{0, 1}));
    EXPECT_FALSE(rig.ctl().Devices(0)->Enumerating());
    EXPECT_EQ(rig.ctl().Devices(0)->ProductName(), "USB to Serial") << "kept once read";
}

TEST(HidController, DevicesThatCannotBeOpenedOrIdentifiedAreLeftOut)
{
    HidRig rig;
    TestHidDevice closed = adapter("closed");
    closed.openable = false;
    TestHidDevice anonymous = adapter("anonymous");
    anonymous.identifiable = false;
    TestHidDevice locked = adapter("locked");
    locked.writable = false;
    for (const TestHidDevice &device : {closed, anonymous, locked, adapter("open")})
        rig.platform->plug(device);
    rig.start();
    EXPECT_EQ(rig.instances(), (Events{"locked", "open"}));
    EXPECT_FALSE(rig.ctl().Devices(0)->ReadWriteAccess());
    EXPECT_EQ(rig.ctl().Devices(0)->AccessError(), EACCES);
    EXPECT_TRUE(rig.ctl().Devices(1)->ReadWriteAccess());
    EXPECT_EQ(rig.ctl().Devices(1)->VendorID(), 0x1A86);
    EXPECT_EQ(rig.ctl().Devices(1)->InputReportLength(), 0u) << "not accessible while unclaimed";
    EXPECT_EQ(rig.ctl().ClaimByIndex(1)->InputReportLength(), 9u);
}

TEST(HidController, OneControllerPerProgram)
{
    HidRig rig;
    rig.start();
    try {
        THidDeviceController second(rig.platform);
        FAIL() << "a second controller was made";
    } catch (const EControllerError &error) {
        EXPECT_STREQ(error.what(), "Only one THidDeviceController allowed per program");
    }
    rig.controller.reset();
    EXPECT_NO_THROW(THidDeviceController again(rig.platform)) << "the count is given back";
}

TEST(HidController, SleepTimeAcceptsTenToTenThousand)
{
    HidRig rig;
    rig.platform->plug(adapter("a"));
    rig.start();
    THidDevice *device = rig.ctl().Devices(0);
    for (const auto &[value, kept] : std::vector<std::pair<int, int>>{{9, 100}, {10, 10}, {10000, 10000}, {10001, 10000}}) {
        device->SetSleepTime(value);
        EXPECT_EQ(device->SleepTime(), kept) << value;
    }
    device->SetSleepTime(100);
    rig.ctl().SetDevThreadSleepTime(50);
    EXPECT_EQ(device->SleepTime(), 50) << "a device on the controller's slice follows it";
    device->SetSleepTime(70);
    rig.ctl().SetDevThreadSleepTime(60);
    EXPECT_EQ(device->SleepTime(), 70) << "a device with its own slice keeps it";
}

TEST(HidController, SerialNumberEqualToTheLanguageListIsNone)
{
    struct Case {
        std::optional<std::u16string> serial, languages;
        std::string expected;
    };
    const std::u16string english(1, char16_t{0x0409});
    const std::vector<Case> cases{
        {u"A1B2", english, "A1B2"},
        {english, english, ""},      // the language list answered for the serial number
        {u"A1B2", std::nullopt, ""}, // no language list to tell them apart
        {std::nullopt, english, ""},
        {u"A1B2", u"", ""},
    };
    for (const Case &c : cases) {
        HidRig rig;
        TestHidDevice device = adapter("a");
        device.serial = c.serial;
        device.languages = c.languages;
        rig.platform->plug(device);
        rig.start();
        EXPECT_EQ(rig.ctl().ClaimByIndex(0)->SerialNumber(), c.expected);
    }
}

TEST(HidController, DataHandlersPassToDevicesStillOnTheControllersOld)
{
    HidRig rig;
    rig.platform->plug(adapter("a"));
    rig.platform->plug(adapter("b"));
    rig.start();
    const THidDataEvent own = [](THidDevice *, std::uint8_t, const std::uint8_t *, std::uint16_t) {};
    rig.ctl().Devices(1)->SetDataHandler(own);
    const THidDataEvent shared = [](THidDevice *, std::uint8_t, const std::uint8_t *, std::uint16_t) {};
    rig.ctl().SetOnDeviceData(shared);
    EXPECT_EQ(rig.ctl().Devices(0)->DataHandler(), shared);
    EXPECT_EQ(rig.ctl().Devices(1)->DataHandler(), own);

    const THidDataErrorEvent errors = [](THidDevice *, std::uint32_t) {};
    rig.ctl().SetOnDeviceDataError(errors);
    rig.platform->plug(adapter("c"));
    rig.ctl().DeviceChange();
    EXPECT_EQ(rig.ctl().Devices(2)->DataErrorHandler(), errors) << "arrivals report read errors too";
    EXPECT_EQ(rig.ctl().Devices(2)->DataHandler(), shared);
}

TEST(HidController, FeatureReportsGoToAccessibleDevicesOnly)
{
    HidRig rig;
    rig.platform->plug(adapter("a"));
    rig.start();
    const std::vector<std::uint8_t> report{0x00, 0x60, 0x09, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00};
    THidDevice *device = rig.ctl().Devices(0);
    EXPECT_FALSE(device->SendFeatureReport(report.data(), report.size())) << "unclaimed";
    rig.ctl().ClaimByIndex(0);
    EXPECT_TRUE(device->SendFeatureReport(report.data(), report.size()));
    EXPECT_EQ(rig.platform->featureReports("a"), std::vector<std::vector<std::uint8_t>>{report});
}

} // namespace
} // namespace kx::link::test
