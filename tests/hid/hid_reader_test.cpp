// The reader thread on the test platform's socket channels: hand-over, stop and unplug.
#include "link/hid_read_thread.h"
#include "tests/hid/hid_rig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>

namespace kx::link::test {
namespace {

using Report = std::vector<std::uint8_t>; // report ID, then the data bytes

struct ReaderRig : HidRig {
    explicit ReaderRig(TestHidDevice plugged = adapter("a"))
    {
        platform->plug(std::move(plugged));
        start();
        device = ctl().ClaimByIndex(0);
        device->SetDataErrorHandler([this](THidDevice *, std::uint32_t error) { errors.push_back(error); });
    }
    // Installs the recording handler and waits until the reader has its channel open.
    void read()
    {
        device->SetDataHandler(recorder);
        ASSERT_TRUE(QTest::qWaitFor([&] { return platform->readChannels("a") == 1; }));
    }

    THidDevice *device = nullptr;
    std::vector<Report> reports;
    std::vector<std::uint32_t> errors;
    THidDataEvent recorder = [this](THidDevice *, std::uint8_t id, const std::uint8_t *data, std::uint16_t size) {
        Report report{id};
        report.insert(report.end(), data, data + size);
        reports.push_back(report);
    };
};

TEST(HidReader, ReportsReachTheHandlerWithTheirReportId)
{
    // Numbered: report 2 has four bytes, report 5 two.
    const std::vector<std::uint8_t> numbered{0x06, 0xA0, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x85, 0x02,
                                             0x95, 0x04, 0x81, 0x02, 0x85, 0x05, 0x95, 0x02, 0x81, 0x02, 0xC0};
    struct Case {
        std::vector<std::uint8_t> descriptor;
        std::vector<Report> sent, received;
    };
    const std::vector<Case> cases{
        {adapterReportDescriptor(), {{0xF1, 0x3A, 0, 0, 0, 0, 0, 0}, {0xF0, 0, 0, 0, 0, 0, 0, 0}},
         {{0x00, 0xF1, 0x3A, 0, 0, 0, 0, 0, 0}, {0x00, 0xF0, 0, 0, 0, 0, 0, 0, 0}}},
        {numbered, {{0x02, 1, 2, 3, 4}, {0x05, 6, 7}}, {{0x02, 1, 2, 3, 4}, {0x05, 6, 7}}},
    };
    for (const Case &c : cases) {
        TestHidDevice plugged = adapter("a");
        plugged.descriptor = c.descriptor;
        ReaderRig rig(plugged);
        rig.read();
        for (const Report &report : c.sent)
            rig.platform->sendReport("a", report);
        EXPECT_TRUE(QTest::qWaitFor([&] { return rig.reports.size() == c.received.size(); }));
        EXPECT_EQ(rig.reports, c.received);
    }
}

TEST(HidReader, NoReaderWithoutWriteAccessOrClaim)
{
    TestHidDevice locked = adapter("a");
    locked.writable = false;
    ReaderRig rig(locked);
    rig.device->SetDataHandler(rig.recorder);
    EXPECT_FALSE(rig.device->Reading());

    rig.platform->plug(adapter("b"));
    rig.ctl().DeviceChange();
    THidDevice *unclaimed = rig.ctl().Devices(1);
    unclaimed->SetDataHandler(rig.recorder);
    EXPECT_FALSE(unclaimed->Reading());
    EXPECT_EQ(rig.ctl().ClaimByIndex(1), unclaimed);
    EXPECT_TRUE(unclaimed->Reading()) << "claiming a device with a handler starts its reader";
}

// Reports stream in from another thread at full speed while the reader is started and stopped
// over and over: every report arrives whole and in order, none after a stop, and no stop hangs.
TEST(HidReader, StartAndStopUnderLoad)
{
    ReaderRig rig;
    std::atomic<bool> done = false;
    std::thread device([&] {
        for (std::uint32_t n = 0; !done; ++n) {
            Report report(8, static_cast<std::uint8_t>(n));
            if (!rig.platform->sendReport("a", report))
                std::this_thread::yield();
        }
    });
    bool stopped = false;
    int lateReports = 0;
    int brokenReports = 0;
    const THidDataEvent checker = [&](THidDevice *, std::uint8_t id, const std::uint8_t *data, std::uint16_t size) {
        lateReports += stopped;
        brokenReports += id != 0 || size != 8 || std::count(data, data + size, data[0]) != 8;
        ++rig.reports.emplace_back().emplace_back();
    };
    for (int round = 0; round < 40; ++round) {
        stopped = false;
        rig.reports.clear();
        rig.device->SetDataHandler(checker);
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.reports.size() >= 3; })) << "round " << round;
        rig.device->SetDataHandler({});
        stopped = true;
        QCoreApplication::processEvents();
    }
    QTest::qWait(50);
    done = true;
    device.join();
    EXPECT_EQ(lateReports, 0);
    EXPECT_EQ(brokenReports, 0);
    EXPECT_TRUE(rig.errors.empty());
}

TEST(HidReader, AHandlerCanStopItsOwnReader)
{
    ReaderRig rig;
    rig.device->SetDataHandler([&](THidDevice *HidDev, std::uint8_t, const std::uint8_t *data, std::uint16_t) {
        rig.reports.push_back({data[0]});
        HidDev->SetDataHandler({});
        EXPECT_EQ(data[0], 0x11) << "the report stays readable after the stop";
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.platform->readChannels("a") == 1; }));
    rig.platform->sendReport("a", Report(8, 0x11));
    rig.platform->sendReport("a", Report(8, 0x22));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.device->Reading(); }));
    QTest::qWait(50);
    EXPECT_EQ(rig.reports.size(), 1u);
}

// The adapter pulled while it is read: the channel hangs up, the reader reports that it cannot
// start a read once per pause instead of in a tight loop, and the device change stops it.
TEST(HidReader, UnplugWhileReadingPausesRetriesAndEndsTheReader)
{
    ReaderRig rig;
    rig.read();
    rig.platform->unplug("a");
    rig.platform->takeNotifications(); // the device change comes later
    QTest::qWait(THidDeviceReadThread::kRetryPauseMs / 2);
    ASSERT_EQ(rig.errors.size(), 1u) << "one failed start, then a pause";
    EXPECT_EQ(rig.errors[0], static_cast<std::uint32_t>(ENODEV));

    rig.ctl().DeviceChange();
    EXPECT_FALSE(rig.device->Present());
    EXPECT_FALSE(rig.device->Reading());
    QTest::qWait(THidDeviceReadThread::kRetryPauseMs + 200);
    EXPECT_LE(rig.errors.size(), 2u);
}

} // namespace
} // namespace kx::link::test
